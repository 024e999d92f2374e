#pragma once

#include <memory>
#include <vector>

// The laminae of a laminate and the specimens of a series are both lists of owned
// records numbered by their id: one way to find a record, or to make it.

template <class Record> Record* FindRecord(const std::vector<std::unique_ptr<Record>>& list, int id)
{
    for (const auto& record : list) {
        if (record->id == id)
            return record.get();
    }
    return nullptr;
}

template <class Record> Record& FindOrCreateRecord(std::vector<std::unique_ptr<Record>>& list, int id)
{
    if (Record* found = FindRecord(list, id))
        return *found;
    list.push_back(std::make_unique<Record>());
    list.back()->id = id;
    return *list.back();
}
