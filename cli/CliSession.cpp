#include "cli/CliSession.h"

#include "cli/DocumentJson.h"
#include "cli/OptSteps.h"
#ifdef PALVANE_CLI_PICTURES
#include "cli/PictureSteps.h"
#endif
#include "document/DarkForcesPaletteCheck.h"
#include "document/PaletteExchangeFormats.h"
#include "document/SelectionClick.h"
#include "document/TableComparison.h"
#include "document/TableText.h"
#include "document/palette_formats/PaletteFormats.h"
#include "framework/CException.h"
#include "framework/CommandErrors.h"
#include "framework/FrameworkMessages.h"
#include "res/CommandIds.h"
#include "res/DocumentStrings.h"
#include "res/PalvaneVersion.h"

#ifdef PALVANE_CLI_IMAGES
#include "palette_images/PaletteImageCodec.h"
#endif

#include <new>
#include <optional>
#include <ostream>
#include <utility>

namespace {

constexpr const char* kProgram = "palvane-cli";

// The formats --import-palette recognises.
const palette_formats::CodecList& ImportCodecs()
{
#ifdef PALVANE_CLI_IMAGES
    return palette_images::PaletteCodecsWithImages();
#else
    return palette_formats::CorePaletteCodecs();
#endif
}

const palette_formats::PaletteCodec& ExportCodec(CliStep::Kind kind)
{
    using palette_formats::PaletteFormat;
    switch (kind) {
    case CliStep::Kind::exportRiff:
        return palette_formats::CodecFor(PaletteFormat::riff);
    case CliStep::Kind::exportAct:
        return palette_formats::CodecFor(PaletteFormat::adobeColorTable);
    case CliStep::Kind::exportPaintNet:
        return palette_formats::CodecFor(PaletteFormat::paintNet);
    case CliStep::Kind::exportHex:
        return palette_formats::CodecFor(PaletteFormat::hexList);
#ifdef PALVANE_CLI_IMAGES
    case CliStep::Kind::exportSwatch:
        return palette_images::SwatchImageCodec();
#endif
    default:
        return palette_formats::CodecFor(PaletteFormat::gimp);
    }
}

// Runs `step`, showing an error that escapes it as a command's error is
// shown. Returns whether it ran to the end.
template <class Step> bool RunReportingErrors(Step step)
{
    try {
        step();
        return true;
    } catch (const std::bad_alloc&) {
        AfxMessageBox(framework_messages::kOutOfMemory, MB_ICONEXCLAMATION);
    } catch (const CException& error) {
        AfxReportCommandError(error);
    }
    return false;
}

} // namespace

CliSession::CliSession(std::ostream& out, std::ostream& err)
    : m_out(out), m_err(err), m_docTemplate(kColormapDocumentString)
{
    m_ui.SetStandingAnswer(CPalvaneDoc::kTransparencyQuestion, IDNO);
    m_ui.SetStandingAnswer(jasc_format::kProtectQuestion, IDNO);
    // A --save to the document's own file replaces it, even when something
    // else has changed the file since this run read it: that is what the
    // command line asked for.
    m_ui.SetStandingAnswer(framework_messages::kAskToReplaceChangedFile, IDYES);
    // A file that does not look like a Dark Forces palette is imported as
    // asked, with a warning (ImportDarkForcesPalette).
    m_ui.SetStandingAnswer(std::string("%1") + dfpal_format::kImportAnyway, IDYES);
    // A --save replaces tables that were not made from the palette, with a
    // warning, unless --keep-tables says otherwise (SaveDocument).
    m_ui.SetStandingAnswer(CPalvaneDoc::kReplaceForeignTablesQuestion, IDYES);
}

int CliSession::Run(const std::vector<CliStep>& steps)
{
    const ScopedUserInterface installed(m_ui);
    for (const CliStep& step : steps) {
        const std::size_t askedBefore = m_ui.Asked().size();
        const bool succeeded = RunStep(step);
        bool shownMessage = false;
        for (std::size_t i = askedBefore; i < m_ui.Asked().size(); ++i) {
            const ScriptedUserInterface::Question& question = m_ui.Asked()[i];
            if (question.kind == ScriptedUserInterface::Kind::messageBox &&
                (question.type & MB_TYPEMASK) == MB_OK) {
                m_err << kProgram << ": " << question.text << '\n';
                shownMessage = true;
            }
        }
        if (!succeeded || shownMessage) {
            if (!shownMessage && !std::exchange(m_bFailureTold, false))
                m_err << kProgram << ": the step failed\n";
            return 1;
        }
    }
    return 0;
}

bool CliSession::RunStep(const CliStep& step)
{
    switch (step.kind) {
    case CliStep::Kind::newDocument:
        return NewDocument();
    case CliStep::Kind::open:
        return OpenDocument(step.file);
    case CliStep::Kind::transparency:
    case CliStep::Kind::noTransparency:
        m_ui.SetStandingAnswer(CPalvaneDoc::kTransparencyQuestion,
                               step.kind == CliStep::Kind::transparency ? IDYES : IDNO);
        return true;
    case CliStep::Kind::replaceTables:
    case CliStep::Kind::keepTables:
        m_ui.SetStandingAnswer(CPalvaneDoc::kReplaceForeignTablesQuestion,
                               step.kind == CliStep::Kind::replaceTables ? IDYES : IDNO);
        return true;
    case CliStep::Kind::black32:
    case CliStep::Kind::noBlack32:
        m_ui.SetStandingAnswer(jasc_format::kProtectQuestion,
                               step.kind == CliStep::Kind::black32 ? IDYES : IDNO);
        return true;
    case CliStep::Kind::select:
        SelectRun(step);
        return true;
    case CliStep::Kind::gradient:
        SelectRun(step);
        return m_document->OnCommand(ID_PALETTE_GRADIENT);
    case CliStep::Kind::colorize:
        SelectRun(step);
        if (step.cancel)
            m_ui.QueueCancel(ScriptedUserInterface::Kind::color);
        else
            m_ui.QueueColor(step.color);
        return m_document->OnCommand(ID_PALETTE_COLORIZE);
    case CliStep::Kind::setColor:
        m_document->m_palette[step.selStart] = ColorTriple::FromColorRef(step.color);
        m_document->NotifyPaletteChanged();
        return true;
    case CliStep::Kind::importDfpal:
        return ImportDarkForcesPalette(step.file);
    case CliStep::Kind::exportDfpal:
        m_ui.QueueFile(step.file);
        return m_document->OnCommand(ID_FILE_EXPORT_DFPAL);
    case CliStep::Kind::exportJasc:
        m_ui.QueueFile(step.file);
        return m_document->OnCommand(ID_FILE_EXPORT_JASC);
    case CliStep::Kind::save:
        return SaveDocument(step.file);
    case CliStep::Kind::dump:
        // Flushed at once: a later --save to standard output comes after it.
        m_out << DocumentToJson(*m_document) << '\n' << std::flush;
        return true;
    case CliStep::Kind::tableReport: {
        const std::optional<TableChanges> changes =
            m_document->GetTables().ChangesFor(m_document->m_palette);
        m_out << TableComparisonText(changes ? &*changes : nullptr) << '\n' << std::flush;
        return true;
    }
    case CliStep::Kind::renderLight:
    case CliStep::Kind::renderTranslucency:
    case CliStep::Kind::renderGrid:
#ifdef PALVANE_CLI_PICTURES
        return RunRenderStep(*m_document, step);
#else
        return false; // refused with the arguments
#endif
    case CliStep::Kind::importOpt:
        return RunImportOptStep(*m_document, m_ui, step);
    case CliStep::Kind::optInfo:
        return RunOptInfoStep(step.file, m_out);
    case CliStep::Kind::importPalette:
        return ImportPaletteFile(step.file);
    case CliStep::Kind::exportGpl:
    case CliStep::Kind::exportRiff:
    case CliStep::Kind::exportAct:
    case CliStep::Kind::exportPaintNet:
    case CliStep::Kind::exportHex:
    case CliStep::Kind::exportSwatch:
        return ExportPaletteFile(step.file, step.kind);
    }
    return false;
}

void CliSession::SelectRun(const CliStep& step)
{
    ApplySelectionClick(*m_document, step.selStart, false);
    ApplySelectionClick(*m_document, step.selEnd, true);
}

bool CliSession::NewDocument()
{
    auto document = std::make_unique<CPalvaneDoc>();
    if (!m_docTemplate.InitNewDocument(*document))
        return false;
    m_document = std::move(document);
    return true;
}

bool CliSession::OpenDocument(const std::string& path)
{
    auto document = std::make_unique<CPalvaneDoc>();
    if (!m_docTemplate.InitOpenDocument(*document, path))
        return false;
    m_document = std::move(document);
    return true;
}

bool CliSession::ImportDarkForcesPalette(const std::string& path)
{
    const std::size_t askedBefore = m_ui.Asked().size();
    m_ui.QueueFile(path);
    const bool done = m_document->OnCommand(ID_FILE_IMPORT_DFPAL);
    for (std::size_t i = askedBefore; i < m_ui.Asked().size(); ++i) {
        const std::string& question = m_ui.Asked()[i].text;
        // The question names the file as the file chooser completed its name.
        if (m_ui.Asked()[i].kind == ScriptedUserInterface::Kind::messageBox &&
            question.ends_with(dfpal_format::kImportAnyway))
            m_err << kProgram << ": warning: "
                  << dfpal_format::NotAPaletteStatement(path, dfpal_format::ReasonIn(question))
                  << '\n';
    }
    return done;
}

bool CliSession::ImportPaletteFile(const std::string& path)
{
    return RunReportingErrors([&] {
        const std::string report = m_document->ImportPaletteFile(path, ImportCodecs());
        m_err << kProgram << ": " << report << '\n';
    });
}

bool CliSession::ExportPaletteFile(const std::string& path, CliStep::Kind kind)
{
    return RunReportingErrors([&] {
        const std::string note = m_document->ExportPaletteFile(path, ExportCodec(kind));
        if (!note.empty())
            m_err << kProgram << ": warning: " << note << '\n';
    });
}

bool CliSession::SaveDocument(const std::string& path)
{
    const std::size_t askedBefore = m_ui.Asked().size();
    const std::string previous = m_document->GetPathName();
    const bool saved = m_document->DoSave(path);
    for (std::size_t i = askedBefore; i < m_ui.Asked().size(); ++i) {
        const ScriptedUserInterface::Question& question = m_ui.Asked()[i];
        if (question.text != CPalvaneDoc::kReplaceForeignTablesQuestion)
            continue;
        const std::string tables =
            "the tables of " + previous + " were not made from its palette by Palvane; ";
        if (question.answer == IDYES) {
            m_err << kProgram << ": warning: " << tables << "the save replaced them\n";
        } else {
            m_err << kProgram << ": " << tables << "not saved (--keep-tables)\n";
            m_bFailureTold = true;
        }
    }
    return saved;
}

int RunPalvaneCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    const CliArguments parsed = ParseCliArguments(arguments);
    switch (parsed.action) {
    case CliArguments::Action::help:
        out << CliUsageText();
        return 0;
    case CliArguments::Action::version:
        out << kProgram << ' ' << palvane_version::kText << '\n';
        return 0;
    case CliArguments::Action::usageError:
        err << kProgram << ": " << parsed.error << "\n\n" << CliUsageText();
        return 2;
    case CliArguments::Action::run:
        break;
    }
    CliSession session(out, err);
    return session.Run(parsed.steps);
}
