#pragma once

#include "document/ColorTriple.h"

#include <array>
#include <cstdint>
#include <vector>

// Finds, for many colours at once, the index of the nearest palette entry,
// exactly as CPalvaneDoc::FindNearestColor does (the smallest squared RGB
// distance, the lowest index on ties), without scanning the whole palette
// for every colour.
//
// The colours asked for are sorted into the boxes of an octree over the
// colour cube, and each box carries the palette colours that can still be
// nearest to some point in it: a colour is struck out of a box when the
// colour nearest to the box's middle beats it at every point of the box (the
// difference of two squared distances is linear in the point, so its least
// value over the box is at a corner). The colour nearest to a point, and every
// colour that ties with it, is never struck out, so a scan that prefers the
// earlier colour on equal distances still gives the lowest index. A box is cut
// into eight only while enough colours fall in it to repay making the eight
// shorter lists; the rest are scanned against the box's list.
//
// Only the first index of each distinct colour takes part: a later entry of
// the same colour can never win a tie.
class NearestColorSearch {
public:
    using Palette = std::array<ColorTriple, 256>;

    explicit NearestColorSearch(const Palette& palette);

    // indices[i] becomes the index of the palette entry nearest to targets[i].
    void FindAll(const std::vector<ColorTriple>& targets, std::vector<std::uint8_t>& indices);

private:
    // The colours that can be nearest within one box, in index order, with
    // the square of each colour's length. Room is left past the end so that
    // a loop may run over whole blocks.
    static constexpr int kBlock = 8;
    struct Candidates {
        int count = 0;
        std::array<std::int32_t, 256 + kBlock> red{}, green{}, blue{}, order{}, square{};
    };
    // A colour asked for: its place on the octree's path through the cube
    // (the bits of red, green and blue interleaved, so that every box holds
    // a run of codes) and where its answer goes.
    struct Item {
        std::uint32_t code;
        std::uint32_t position;
    };

    static void SortByCode(const std::vector<ColorTriple>& targets, std::vector<Item>& items,
                           std::vector<Item>& sorted);
    void Descend(int depth, int shift, int red, int green, int blue, const Item* items, int count,
                 const ColorTriple* targets, std::uint8_t* indices);
    void Scan(const Candidates& list, const Item* items, int count, const ColorTriple* targets,
              std::uint8_t* indices) const;
    void Narrow(const Candidates& from, Candidates& to, int shift, int red, int green,
                int blue) const;

    std::vector<std::uint8_t> m_firstIndex; // per distinct colour
    // One list per depth of the octree: the root's holds every distinct colour.
    std::array<Candidates, 9> m_lists;
};
