#include "state/variables_collection.h"

#include "base/failure.h"

namespace state {

const ClassVariable& VariablesCollection::Add(const QString& name, std::int16_t value, const QString& key)
{
    if (!key.isEmpty() && indexOfKey(key) != m_records.size())
        throw base::Failure(QStringLiteral("Key is already associated with an element of this collection"));
    m_records.push_back(Record{ClassVariable{name, value}, key});
    if (m_positionsValid)
        m_positions[name].push_back(Count());
    return m_records.back().variable;
}

std::size_t VariablesCollection::checkedIndex(std::int32_t position) const
{
    if (position < 1 || position > Count())
        throw base::Failure(QStringLiteral("Invalid procedure call or argument: position %1").arg(position));
    return static_cast<std::size_t>(position - 1);
}

std::size_t VariablesCollection::indexOfKey(const QString& key) const
{
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (!m_records[i].key.isEmpty() && m_records[i].key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return m_records.size();
}

const ClassVariable& VariablesCollection::Item(std::int32_t position) const
{
    return m_records[checkedIndex(position)].variable;
}

const ClassVariable& VariablesCollection::Item(const QString& key) const
{
    const std::size_t i = indexOfKey(key);
    if (i == m_records.size())
        throw base::Failure(QStringLiteral("Invalid procedure call or argument: key %1").arg(key));
    return m_records[i].variable;
}

void VariablesCollection::SetValue(std::int32_t position, std::int16_t value)
{
    m_records[checkedIndex(position)].variable.Value = value;
}

void VariablesCollection::SetName(std::int32_t position, const QString& name)
{
    m_records[checkedIndex(position)].variable.Name = name;
    m_positionsValid = false;
}

void VariablesCollection::Remove(std::int32_t position)
{
    m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(checkedIndex(position)));
    m_positionsValid = false;
}

void VariablesCollection::Remove(const QString& key)
{
    const std::size_t i = indexOfKey(key);
    if (i == m_records.size())
        throw base::Failure(QStringLiteral("Invalid procedure call or argument: key %1").arg(key));
    m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(i));
    m_positionsValid = false;
}

const std::vector<std::int32_t>& VariablesCollection::PositionsOf(const QString& name) const
{
    if (!m_positionsValid) {
        m_positions.clear();
        for (std::size_t i = 0; i < m_records.size(); ++i)
            m_positions[m_records[i].variable.Name].push_back(static_cast<std::int32_t>(i + 1));
        m_positionsValid = true;
    }
    static const std::vector<std::int32_t> none;
    auto it = m_positions.constFind(name);
    return it == m_positions.constEnd() ? none : it.value();
}

std::vector<ClassVariable> VariablesCollection::records() const
{
    std::vector<ClassVariable> out;
    out.reserve(m_records.size());
    for (const Record& r : m_records)
        out.push_back(r.variable);
    return out;
}


} // namespace state
