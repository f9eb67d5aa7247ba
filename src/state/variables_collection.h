#pragma once

#include "state/class_variable.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace state {

// An ordered list of ClassVariable records, positions from 1. Names need not
// be unique; records are stored under a key only when one is given.
class VariablesCollection {
public:
    ClassVariable& Add(const QString& name, std::int16_t value, const QString& key = QString());
    // Throws platform::Failure for a position or key that is not there.
    ClassVariable& Item(std::int32_t position);
    const ClassVariable& Item(std::int32_t position) const;
    ClassVariable& Item(const QString& key);
    std::int32_t Count() const { return static_cast<std::int32_t>(m_records.size()); }
    void Remove(std::int32_t position);
    void Remove(const QString& key);

private:
    struct Record {
        ClassVariable variable;
        QString key;
    };
    std::size_t indexOfKey(const QString& key) const;
    std::size_t checkedIndex(std::int32_t position) const;

    std::vector<Record> m_records;

public:
    // The records in position order (the collection's enumeration).
    std::vector<ClassVariable> records() const;
};

} // namespace state
