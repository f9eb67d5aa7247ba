#pragma once

#include "state/class_variable.h"

#include <QHash>
#include <QString>

#include <cstdint>
#include <deque>
#include <vector>

namespace state {

// An ordered list of ClassVariable records, positions from 1. Names need not
// be unique; records are stored under a key only when one is given.
//
// Games look variables up by name on every click (each condition of each
// area), so the positions of each name are indexed; the index is rebuilt
// after a removal or a rename, and lookups find the same records, in the
// same order, as a walk from position 1 would.
class VariablesCollection {
public:
    const ClassVariable& Add(const QString& name, std::int16_t value, const QString& key = QString());
    // Throws base::Failure for a position or key that is not there.
    const ClassVariable& Item(std::int32_t position) const;
    const ClassVariable& Item(const QString& key) const;
    void SetValue(std::int32_t position, std::int16_t value);
    void SetName(std::int32_t position, const QString& name);
    std::int32_t Count() const { return static_cast<std::int32_t>(m_records.size()); }
    void Remove(std::int32_t position);
    void Remove(const QString& key);

    // The positions (from 1, in order) of the records with exactly this name.
    const std::vector<std::int32_t>& PositionsOf(const QString& name) const;

    // The records in position order (the collection's enumeration).
    std::vector<ClassVariable> records() const;

private:
    struct Record {
        ClassVariable variable;
        QString key;
    };
    std::size_t indexOfKey(const QString& key) const;
    std::size_t checkedIndex(std::int32_t position) const;

    std::deque<Record> m_records;
    mutable QHash<QString, std::vector<std::int32_t>> m_positions;
    mutable bool m_positionsValid = true;
};

} // namespace state
