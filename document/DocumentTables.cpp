#include "document/DocumentTables.h"

#include "framework/CArchive.h"

#include <utility>

DocumentTables::DocumentTables() : m_pMaker(std::make_shared<ColormapTableMaker>()) {}

void DocumentTables::ReadStored(CArchive& archive, const colormap_tables::Palette& palette,
                                bool withTransparency)
{
    auto stored = std::make_shared<colormap_tables::Tables>();
    stored->palette = palette;
    stored->lightLevels.resize(colormap_tables::kLightLevelBytes);
    if (archive.Read(stored->lightLevels.data(), stored->lightLevels.size()) !=
        colormap_tables::kLightLevelBytes) {
        SetStored(nullptr);
        return;
    }
    if (withTransparency) {
        stored->transparency.resize(colormap_tables::kTransparencyBytes);
        if (archive.Read(stored->transparency.data(), stored->transparency.size()) !=
            colormap_tables::kTransparencyBytes)
            stored->transparency.clear();
    }
    SetStored(std::move(stored));
}

void DocumentTables::TakeStored(const DocumentTables& reread)
{
    SetStored(reread.m_pStored);
    m_bReplaceConfirmed = false;
}

void DocumentTables::Wrote(const TablesPtr& tables, bool withTransparency)
{
    if (withTransparency || !tables->HasTransparency()) {
        m_pWritten = tables;
        return;
    }
    auto written = std::make_shared<colormap_tables::Tables>();
    written->palette = tables->palette;
    written->lightLevels = tables->lightLevels;
    m_pWritten = std::move(written);
}

void DocumentTables::SaveEnded(bool succeeded)
{
    TablesPtr written = std::exchange(m_pWritten, nullptr);
    if (!succeeded || written == nullptr)
        return;
    SetStored(std::move(written));
    // Made here from the palette they are stored with.
    m_storedAreForeign = false;
}

void DocumentTables::SetStored(TablesPtr stored)
{
    m_pStored = std::move(stored);
    m_pWritten = nullptr;
    m_storedAreForeign.reset();
}

bool DocumentTables::StoredAreForeign() const
{
    if (m_pStored == nullptr)
        return false;
    if (!m_storedAreForeign.has_value()) {
        const TablesPtr computed = m_pMaker->Make(m_pStored->palette, m_pStored->HasTransparency());
        m_storedAreForeign = CompareTables(*m_pStored, *computed).Any();
    }
    return *m_storedAreForeign;
}

std::optional<TableChanges>
DocumentTables::ChangesFor(const colormap_tables::Palette& palette) const
{
    if (m_pStored == nullptr)
        return std::nullopt;
    return CompareTables(*m_pStored, *m_pMaker->Make(palette, m_pStored->HasTransparency()));
}
