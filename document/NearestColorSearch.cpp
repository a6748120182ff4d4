#include "document/NearestColorSearch.h"

#include <algorithm>
#include <climits>

namespace {

// A box with no more colours asked for than kScanAtMost is not cut further,
// and a part of a box with no more than kNarrowAbove is scanned against the
// box's list without a list of its own: making lists costs more than
// scanning a few colours. Both measured on the stress palettes.
constexpr int kScanAtMost = 128;
constexpr int kNarrowAbove = 8;

// Spreads the eight bits of a component to every third bit.
constexpr std::array<std::uint32_t, 256> kSpread = [] {
    std::array<std::uint32_t, 256> spread{};
    for (std::uint32_t v = 0; v < 256; ++v)
        for (int bit = 0; bit < 8; ++bit)
            spread[v] |= (v >> bit & 1u) << (3 * bit);
    return spread;
}();

std::uint32_t CodeOf(const ColorTriple& colour)
{
    return kSpread[colour.red] << 2 | kSpread[colour.green] << 1 | kSpread[colour.blue];
}

} // namespace

NearestColorSearch::NearestColorSearch(const Palette& palette)
{
    // Sorting the colours with their indices puts the first index of each
    // distinct colour at the front of its run.
    std::array<std::uint32_t, std::tuple_size_v<Palette>> keyed;
    for (std::size_t i = 0; i < palette.size(); ++i)
        keyed[i] = palette[i].ToColorRef() << 8 | static_cast<std::uint32_t>(i);
    std::sort(keyed.begin(), keyed.end());
    std::array<bool, std::tuple_size_v<Palette>> first{};
    for (std::size_t k = 0; k < keyed.size(); ++k)
        first[keyed[k] & 0xFF] = k == 0 || (keyed[k] >> 8) != (keyed[k - 1] >> 8);

    Candidates& all = m_lists[0];
    for (std::size_t i = 0; i < palette.size(); ++i) {
        if (!first[i])
            continue;
        all.red[all.count] = palette[i].red;
        all.green[all.count] = palette[i].green;
        all.blue[all.count] = palette[i].blue;
        all.order[all.count] = all.count;
        all.square[all.count] = palette[i].red * palette[i].red +
                                palette[i].green * palette[i].green +
                                palette[i].blue * palette[i].blue;
        m_firstIndex.push_back(static_cast<std::uint8_t>(i));
        ++all.count;
    }
}

void NearestColorSearch::FindAll(const std::vector<ColorTriple>& targets,
                                 std::vector<std::uint8_t>& indices)
{
    // The sorted colours are kept from one request to the next: memory of
    // this size comes fresh from the system, a page at a time, on every
    // allocation, which would cost more than the search itself.
    thread_local std::vector<Item> items, sorted;
    indices.resize(targets.size());
    SortByCode(targets, items, sorted);
    Descend(0, 8, 0, 0, 0, items.data(), static_cast<int>(items.size()), targets.data(),
            indices.data());
}

// A radix sort in two passes of twelve bits.
void NearestColorSearch::SortByCode(const std::vector<ColorTriple>& targets,
                                    std::vector<Item>& items, std::vector<Item>& sorted)
{
    constexpr int kDigits = 1 << 12;
    const std::size_t count = targets.size();
    items.resize(count);
    sorted.resize(count);
    std::vector<std::uint32_t> low(kDigits + 1), high(kDigits + 1);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t code = CodeOf(targets[i]);
        items[i] = {code, static_cast<std::uint32_t>(i)};
        ++low[(code & (kDigits - 1)) + 1];
        ++high[(code >> 12) + 1];
    }
    for (int digit = 0; digit < kDigits; ++digit) {
        low[digit + 1] += low[digit];
        high[digit + 1] += high[digit];
    }
    for (const Item& item : items)
        sorted[low[item.code & (kDigits - 1)]++] = item;
    for (const Item& item : sorted)
        items[high[item.code >> 12]++] = item;
}

// The box at depth `depth` spans 1 << shift values of each component from
// (red, green, blue); m_lists[depth] holds its candidates, and `items` the
// colours asked for within it, by code.
void NearestColorSearch::Descend(int depth, int shift, int red, int green, int blue,
                                 const Item* items, int count, const ColorTriple* targets,
                                 std::uint8_t* indices)
{
    const Candidates& list = m_lists[depth];
    if (count <= kScanAtMost || list.count == 1 || shift == 0) {
        Scan(list, items, count, targets, indices);
        return;
    }
    const int half = shift - 1;
    const int size = 1 << half;
    const Item* const end = items + count;
    const Item* first = items;
    for (int child = 0; child < 8 && first != end; ++child) {
        // The child's items are the run whose code has the child's number
        // in the three bits of this level.
        const Item* last = std::partition_point(first, end, [&](const Item& item) {
            return static_cast<int>(item.code >> (3 * half) & 7) <= child;
        });
        if (last == first)
            continue;
        const int childRed = red + (child >> 2 & 1) * size;
        const int childGreen = green + (child >> 1 & 1) * size;
        const int childBlue = blue + (child & 1) * size;
        const int childCount = static_cast<int>(last - first);
        if (childCount <= kNarrowAbove) {
            Scan(list, first, childCount, targets, indices);
        } else {
            Narrow(list, m_lists[depth + 1], half, childRed, childGreen, childBlue);
            Descend(depth + 1, half, childRed, childGreen, childBlue, first, childCount, targets,
                    indices);
        }
        first = last;
    }
}

void NearestColorSearch::Scan(const Candidates& list, const Item* items, int count,
                              const ColorTriple* targets, std::uint8_t* indices) const
{
    // The distance and the place among the distinct colours as one key: the
    // smallest key is the nearest colour and, on equal distances, the earlier
    // place, which is the lower index. A minimum needs no jump that could be
    // mispredicted. Equal colours are next to each other and share an answer.
    std::uint8_t answer = 0;
    for (int k = 0; k < count; ++k) {
        if (k == 0 || items[k].code != items[k - 1].code) {
            const ColorTriple& target = targets[items[k].position];
            const int red = target.red, green = target.green, blue = target.blue;
            int bestKey = INT_MAX;
            for (int c = 0; c < list.count; ++c) {
                const int dr = list.red[c] - red, dg = list.green[c] - green,
                          db = list.blue[c] - blue;
                bestKey = std::min(bestKey, (dr * dr + dg * dg + db * db) << 8 | list.order[c]);
            }
            answer = m_firstIndex[bestKey & 0xFF];
        }
        indices[items[k].position] = answer;
    }
}

// Keeps the colours of `from` that can be nearest somewhere in the box of
// side 1 << shift at (red, green, blue).
void NearestColorSearch::Narrow(const Candidates& from, Candidates& to, int shift, int red,
                                int green, int blue) const
{
    const int size = 1 << shift;
    const int middleRed = red + size / 2, middleGreen = green + size / 2,
              middleBlue = blue + size / 2;

    // q: the colour nearest to the middle of the box (by key, as in Scan).
    int middleKey = INT_MAX;
    for (int c = 0; c < from.count; ++c) {
        const int dr = from.red[c] - middleRed, dg = from.green[c] - middleGreen,
                  db = from.blue[c] - middleBlue;
        middleKey = std::min(middleKey, (dr * dr + dg * dg + db * db) << 8 | from.order[c]);
    }
    int q = 0;
    while (from.order[q] != (middleKey & 0xFF))
        ++q;
    const int qr = from.red[q], qg = from.green[q], qb = from.blue[q], qOrder = from.order[q];

    // Colour p is beaten by q at every point x of the box when
    // |x - p|² - |x - q|² = 2x·(q - p) + |p|² - |q|², linear in x, is above
    // zero at the corner that makes it least, or zero there while q comes
    // first. The corner takes the low end of an axis where q - p is at least
    // zero and the high end elsewhere, which adds (size - 1)·(q - p) there.
    // The test runs over whole blocks, without jumps; what lies past the
    // end of the list is never copied.
    const int lowDotQ = red * qr + green * qg + blue * qb;
    const int qSquare = from.square[q];
    const int reach = size - 1;
    std::array<std::uint8_t, 256 + kBlock> keep;
    const int blocks = (from.count + kBlock - 1) / kBlock;
    for (int block = 0; block < blocks; ++block) {
        for (int c = block * kBlock; c < (block + 1) * kBlock; ++c) {
            const int dr = qr - from.red[c], dg = qg - from.green[c], db = qb - from.blue[c];
            const int least =
                2 * (lowDotQ - red * from.red[c] - green * from.green[c] - blue * from.blue[c] +
                     reach * (std::min(dr, 0) + std::min(dg, 0) + std::min(db, 0))) +
                from.square[c] - qSquare;
            keep[c] =
                static_cast<std::uint8_t>(least < 0 || (least == 0 && from.order[c] <= qOrder));
        }
    }
    int count = 0;
    for (int c = 0; c < from.count; ++c) {
        to.red[count] = from.red[c];
        to.green[count] = from.green[c];
        to.blue[count] = from.blue[c];
        to.order[count] = from.order[c];
        to.square[count] = from.square[c];
        count += keep[c];
    }
    to.count = count;
}
