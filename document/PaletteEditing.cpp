// Gradient and Colorize: the commands that rewrite a selected run of cells.
// Every real value is a double and every conversion to an integer truncates
// toward zero; the order of the operations below decides the bytes.

#include "document/CPalvaneDoc.h"
#include "framework/CCmdUI.h"
#include "framework/CColorDialog.h"

#include <cmath>

namespace {

using Component = std::uint8_t ColorTriple::*;
constexpr Component kComponents[] = {&ColorTriple::red, &ColorTriple::green, &ColorTriple::blue};

// Colorize opens its chooser on mid grey with the custom colours shown.
constexpr ColorTriple kColorizeInitial(128, 128, 128);
constexpr unsigned kColorizeFlags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
static_assert(kColorizeFlags == 0x103);

} // namespace

void CPalvaneDoc::OnUpdatePaletteGradient(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_nSelEnd > m_nSelStart);
}

void CPalvaneDoc::OnUpdatePaletteColorize(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_nSelStart >= 0);
}

void CPalvaneDoc::OnPaletteGradient()
{
    const int start = m_nSelStart;
    const int end = m_nSelEnd;
    if (start < 0 || end <= start || end >= kPaletteSize)
        return; // the enable rule keeps the command from such a selection
    // The step is a quotient formed once and then multiplied: dividing after
    // multiplying gives other bytes (21 × (-255 / 105) truncates to -50,
    // 21 × -255 / 105 to -51).
    double step[3];
    for (int c = 0; c < 3; ++c) {
        const Component component = kComponents[c];
        const int difference = m_palette[end].*component - m_palette[start].*component;
        step[c] = static_cast<double>(difference) / (end - start);
    }
    for (int i = start + 1; i < end; ++i) {
        for (int c = 0; c < 3; ++c) {
            const Component component = kComponents[c];
            const int offset = static_cast<int>((i - start) * step[c]);
            m_palette[i].*component =
                static_cast<std::uint8_t>(m_palette[start].*component + offset);
        }
    }
    NotifyPaletteChanged("Gradient", CellRun{start, end});
}

void CPalvaneDoc::OnPaletteColorize()
{
    const int start = m_nSelStart;
    const int end = m_nSelEnd;
    if (start < 0 || end < start || end >= kPaletteSize)
        return; // the enable rule keeps the command from such a selection
    CColorDialog dialog(kColorizeInitial.ToColorRef(), kColorizeFlags);
    if (dialog.DoModal() == IDOK) {
        const ColorTriple chosen = ColorTriple::FromColorRef(dialog.GetColor());
        // A cell's brightness is its distance from black as a fraction of the
        // distance from black to white.
        const double range =
            std::sqrt(static_cast<double>(SquaredDistance(g_colorWhite, g_colorBlack)));
        for (int i = start; i <= end; ++i) {
            ColorTriple& entry = m_palette[i];
            const double u =
                std::sqrt(static_cast<double>(SquaredDistance(entry, g_colorBlack))) / range;
            if (u > 0.5) {
                // From the chosen colour (at one half) up to white.
                const double t = (u - 0.5) * 2;
                for (const Component component : kComponents) {
                    const int k = chosen.*component;
                    entry.*component =
                        static_cast<std::uint8_t>(k + static_cast<int>(t * (255 - k)));
                }
            } else {
                // From black up to the chosen colour.
                const double t = u * 2;
                for (const Component component : kComponents)
                    entry.*component =
                        static_cast<std::uint8_t>(static_cast<int>(t * chosen.*component));
            }
        }
    }
    // A cancelled choice changes nothing, yet the document counts as changed.
    NotifyPaletteChanged("Colorize", CellRun{start, end});
}
