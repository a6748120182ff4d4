#include "document/ColormapTableMaker.h"

ColormapTableMaker::TablesPtr ColormapTableMaker::Make(const colormap_tables::Palette& palette,
                                                       bool withTransparency)
{
    const std::lock_guard lock(m_mutex);
    if (m_pLast == nullptr) {
        m_pLast = std::make_shared<const colormap_tables::Tables>(
            colormap_tables::Compute(palette, withTransparency));
        return m_pLast;
    }
    if (m_pLast->palette == palette && (!withTransparency || m_pLast->HasTransparency()))
        return m_pLast;
    // A transparency table once made is kept up to date while that costs
    // little, so that the next request for it costs nothing.
    const bool updates = colormap_tables::CanUpdate(*m_pLast, palette);
    const bool transparency = withTransparency || (updates && m_pLast->HasTransparency());
    m_pLast = std::make_shared<const colormap_tables::Tables>(
        updates ? colormap_tables::Update(*m_pLast, palette, transparency)
                : colormap_tables::Compute(palette, transparency));
    return m_pLast;
}
