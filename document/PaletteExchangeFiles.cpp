// Exporting the palette to, and importing it from, other programs' palette
// files. A file error ends the command with a CFileException, which the
// framework shows with the stop icon.

#include "document/CPalvaneDoc.h"
#include "document/DarkForcesPaletteCheck.h"
#include "document/PaletteExchangeFormats.h"
#include "document/palette_formats/JascPaletteCodec.h"
#include "document/palette_formats/PaletteFileReader.h"
#include "framework/AtomicReplaceFile.h"
#include "framework/CFileDialog.h"
#include "framework/MessagePane.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

namespace {

constexpr unsigned kPaletteDialogFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
static_assert(kPaletteDialogFlags == 6);

// Asks for a palette file; an empty result means the user cancelled.
std::string AskForPaletteFile(bool open, const char* filter)
{
    CFileDialog dialog(open, kPaletteFileExtension, nullptr, kPaletteDialogFlags, filter);
    return dialog.DoModal() == IDOK ? dialog.GetPathName() : std::string();
}

// Writes `size` bytes to `path` completely or not at all, like a save: a
// failure leaves whatever file was there as it was.
void WriteWholeFile(const std::string& path, const void* data, std::size_t size)
{
    CWaitCursor wait; // a named pipe may keep it waiting for its reader
    AtomicReplaceFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite, &error))
        throw error;
    file.Write(data, size);
    file.Close();
}

} // namespace

void CPalvaneDoc::OnFileExportDfpal()
{
    const std::string path = AskForPaletteFile(false, dfpal_format::kFilter);
    if (path.empty())
        return;
    std::array<std::uint8_t, dfpal_format::kFileSize> bytes;
    for (int i = 0; i < kPaletteSize; ++i) {
        bytes[3 * i] = dfpal_format::ToFileValue(m_palette[i].red);
        bytes[3 * i + 1] = dfpal_format::ToFileValue(m_palette[i].green);
        bytes[3 * i + 2] = dfpal_format::ToFileValue(m_palette[i].blue);
    }
    WriteWholeFile(path, bytes.data(), bytes.size());
}

void CPalvaneDoc::OnFileImportDfpal()
{
    const std::string path = AskForPaletteFile(true, dfpal_format::kFilter);
    if (path.empty())
        return;
    // The whole file is read before any entry changes, so a read that fails
    // leaves the palette as it was.
    std::array<std::uint8_t, dfpal_format::kFileSize> bytes;
    CFile file(path, CFile::modeRead | CFile::shareDenyNone);
    const std::size_t count = file.Read(bytes.data(), bytes.size());
    // A short read met the end of the file; a full one may have left more.
    const std::uint64_t length =
        count < bytes.size() ? count : std::max<std::uint64_t>(count, file.GetLength());
    file.Close();
    if (const auto mismatch = dfpal_format::FindMismatch(length, {bytes.data(), count})) {
        const std::string question =
            dfpal_format::NotAPaletteStatement(path, dfpal_format::ReasonFor(*mismatch)) +
            dfpal_format::kImportAnyway;
        if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
            return;
    }
    // A short file sets the components it holds; the others keep their values.
    for (std::size_t at = 0; at < count; ++at) {
        ColorTriple& entry = m_palette[at / 3];
        std::uint8_t& component = at % 3 == 0 ? entry.red : at % 3 == 1 ? entry.green : entry.blue;
        component = dfpal_format::FromFileValue(bytes[at]);
    }
    NotifyPaletteChanged("Import Dark Forces Palette");
}

void CPalvaneDoc::OnFileExportJasc()
{
    const std::string path = AskForPaletteFile(false, jasc_format::kFilter);
    if (path.empty())
        return;
    const bool protect =
        AfxMessageBox(jasc_format::kProtectQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES;
    Palette written = m_palette;
    if (protect)
        std::fill_n(written.begin(), jasc_format::kProtectedCount, ColorTriple());
    const std::string text = palette_formats::JascPaletteCodec().Write(written, GetTitle());
    WriteWholeFile(path, text.data(), text.size());
}

std::string CPalvaneDoc::ImportPaletteFile(const std::string& path)
{
    return ImportPaletteFile(path, palette_formats::CorePaletteCodecs());
}

std::string
CPalvaneDoc::ImportPaletteFile(const std::string& path,
                               const std::vector<const palette_formats::PaletteCodec*>& codecs)
{
    // Read and checked whole before any cell changes.
    const palette_formats::PaletteFile file = palette_formats::ReadPaletteFile(path, codecs);
    const std::vector<ColorTriple>& colors = file.read.colors;
    const int count = static_cast<int>(colors.size());
    const int first = count < kPaletteSize && m_nSelStart >= 0 ? m_nSelStart : 0;
    const int stored = std::min(count, kPaletteSize - first);
    std::copy_n(colors.begin(), stored, m_palette.begin() + first);
    m_nSelStart = first;
    m_nSelEnd = first + stored - 1;

    std::string report =
        (stored == 1 ? "Cell " + std::to_string(first)
                     : "Cells " + std::to_string(first) + "\u2013" + std::to_string(m_nSelEnd)) +
        " (" + std::to_string(stored) + (stored == 1 ? " colour" : " colours") + ") from " + path;
    if (file.read.count > colors.size())
        report += "; it holds " + std::to_string(file.read.count) + " colours, the first " +
                  std::to_string(colors.size()) + " were kept";
    else if (stored < count)
        report += "; " + std::to_string(count - stored) + " colours did not fit after cell 255";
    NotifyPaletteChanged("Import Palette File", CellRun{first, m_nSelEnd});
    if (MessagePane* pane = AfxGetMessagePane())
        pane->SetMessageText(report);
    return report;
}

std::string CPalvaneDoc::ExportPaletteFile(const std::string& path,
                                           const palette_formats::PaletteCodec& codec) const
{
    std::string title = GetTitle();
    if (const std::string_view extension = palette_formats::PathExtension(title);
        !extension.empty())
        title.resize(title.size() - extension.size() - 1);
    const std::string bytes = codec.Write(m_palette, title);
    WriteWholeFile(path, bytes.data(), bytes.size());
    return codec.NoteOnWriting(m_palette.size());
}
