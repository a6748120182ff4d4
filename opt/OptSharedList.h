#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <vector>

// What a list adds to the entries of one of its runs: nothing.
struct OptNoContext {
    template <typename Entry> void ApplyTo(Entry&) const {}
};

// A list of entries that come in runs, each run the entries of one data
// block of a model file. A block that several nodes refer to is read and
// kept once: each run holds it shared, together with what the place that
// refers to it adds to its entries (`Context`, applied to each entry as it
// is handed out). Entries are handed out by value.
template <typename Entry, typename Context = OptNoContext> class OptSharedList {
public:
    using Block = std::vector<Entry>;

private:
    struct Run {
        std::shared_ptr<const Block> block;
        std::size_t end; // the list's size up to and with this run
        Context context;
    };

public:
    // What one run costs in memory, for a reader's budget.
    static constexpr std::size_t kRunBytes = sizeof(Run);

    class const_iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = Entry;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Entry;

        const_iterator() = default;
        Entry operator*() const { return m_list->EntryAt(m_run, m_offset); }
        const_iterator& operator++()
        {
            if (++m_offset == m_list->m_runs[m_run].block->size()) {
                ++m_run;
                m_offset = 0;
            }
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b)
        {
            return a.m_run == b.m_run && a.m_offset == b.m_offset;
        }

    private:
        friend class OptSharedList;
        const_iterator(const OptSharedList* list, std::size_t run) : m_list(list), m_run(run) {}

        const OptSharedList* m_list = nullptr;
        std::size_t m_run = 0;
        std::size_t m_offset = 0;
    };

    // Appends the entries of `block`, as the place of `context` sees them.
    // An empty block adds nothing.
    void Append(std::shared_ptr<const Block> block, const Context& context = {})
    {
        if (block == nullptr || block->empty())
            return;
        const std::size_t end = size() + block->size();
        m_runs.push_back({std::move(block), end, context});
    }

    std::size_t size() const { return m_runs.empty() ? 0 : m_runs.back().end; }
    bool empty() const { return m_runs.empty(); }
    Entry operator[](std::size_t index) const
    {
        const auto run = std::upper_bound(m_runs.begin(), m_runs.end(), index,
                                          [](std::size_t i, const Run& r) { return i < r.end; });
        const auto number = static_cast<std::size_t>(run - m_runs.begin());
        return EntryAt(number, index - (run->end - run->block->size()));
    }
    Entry at(std::size_t index) const
    {
        if (index >= size())
            throw std::out_of_range("OptSharedList::at");
        return (*this)[index];
    }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, m_runs.size()); }

private:
    Entry EntryAt(std::size_t run, std::size_t offset) const
    {
        Entry entry = (*m_runs[run].block)[offset];
        m_runs[run].context.ApplyTo(entry);
        return entry;
    }

    std::vector<Run> m_runs;
};
