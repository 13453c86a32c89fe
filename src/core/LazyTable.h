#pragma once
// A process-wide table filled on first use. Both the host's thread and the online thread may
// reach it, so filling happens under a lock; a load that left the table empty is tried again
// on the next use, and a filled table is never changed again, so readers need no lock.
#include <mutex>

template <typename Table>
class LazyTable {
public:
    template <typename Load>
    const Table& Get(Load load) {
        std::lock_guard lock(m_mutex);
        if (m_table.empty()) {
            Table fresh;
            load(fresh);
            m_table = std::move(fresh);
        }
        return m_table;
    }

private:
    std::mutex m_mutex;
    Table m_table;
};
