#include "framework/qt/QtUserInterface.h"

#include "framework/qt/FileChooserDialog.h"
#include "framework/qt/FileDialogFolders.h"
#include "opt/SelectTextureDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileInfo>

#include <cstdio>
#include <utility>

namespace {

QString FromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

QString QtPatterns(const std::string& patterns)
{
    QStringList converted;
    for (const QString& pattern : FromUtf8(patterns).split(u';', Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        converted << (trimmed == u"*.*" ? QStringLiteral("*") : trimmed);
    }
    return converted.join(u' ');
}

// The answer each button gives.
constexpr std::pair<QMessageBox::StandardButton, int> kButtonAnswers[] = {
    {QMessageBox::Ok, IDOK},
    {QMessageBox::Cancel, IDCANCEL},
    {QMessageBox::Yes, IDYES},
    {QMessageBox::No, IDNO},
};

ColorRef ToColorRef(const QColor& color)
{
    return static_cast<ColorRef>(color.red()) | static_cast<ColorRef>(color.green()) << 8 |
           static_cast<ColorRef>(color.blue()) << 16;
}

} // namespace

QtUserInterface::QtUserInterface(bool withoutScreen) : m_bWithoutScreen(withoutScreen) {}

int QtUserInterface::ShowMessageBox(const std::string& text, unsigned type)
{
    if (m_bWithoutScreen) {
        std::fprintf(stderr, "%s\n", text.c_str());
        std::fflush(stderr);
        return DefaultMessageBoxAnswer(type);
    }
    QMessageBox box(IconFor(type), QGuiApplication::applicationDisplayName(), FromUtf8(text),
                    ButtonsFor(type), DialogParent());
    box.setDefaultButton(DefaultButtonFor(type));
    box.exec();
    return AnswerFor(box.standardButton(box.clickedButton()), type);
}

int QtUserInterface::PickColor(ColorRef& color, unsigned flags)
{
    return PickColorFollowing(color, flags, {});
}

int QtUserInterface::PickColorFollowing(ColorRef& color, unsigned flags,
                                        const std::function<void(ColorRef)>& shown)
{
    // Qt's chooser always shows its custom-colour section and every colour,
    // and its custom colours are kept for the whole process.
    const ColorRef initial = (flags & CC_RGBINIT) != 0 ? color : 0;
    QColorDialog dialog(QColor(static_cast<int>(initial & 0xFFu),
                               static_cast<int>((initial >> 8) & 0xFFu),
                               static_cast<int>((initial >> 16) & 0xFFu)),
                        DialogParent());
    if (shown)
        QObject::connect(&dialog, &QColorDialog::currentColorChanged,
                         [&shown](const QColor& current) { shown(ToColorRef(current)); });
    if (dialog.exec() != QDialog::Accepted)
        return IDCANCEL;
    color = ToColorRef(dialog.selectedColor());
    return IDOK;
}

int QtUserInterface::PickFile(const FileDialogRequest& request, std::string& path)
{
    FileChooserDialog dialog(DialogParent(), FromUtf8(request.title),
                             FromUtf8(request.defaultExtension));
    dialog.setAcceptMode(request.openFileDialog ? QFileDialog::AcceptOpen
                                                : QFileDialog::AcceptSave);
    dialog.setFileMode(request.openFileDialog && (request.flags & OFN_FILEMUSTEXIST) != 0
                           ? QFileDialog::ExistingFile
                           : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, (request.flags & OFN_OVERWRITEPROMPT) == 0);
    const QStringList filters = NameFilters(request.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    // A name without a folder of its own is offered in the folder this kind
    // of dialog last chose a file in.
    const QString initial = FromUtf8(request.initialFileName);
    const QString remembered = FileDialogFolders::Remembered(request);
    if (!remembered.isEmpty() && QFileInfo(initial).isRelative())
        dialog.setDirectory(remembered);
    if (!initial.isEmpty())
        dialog.selectFile(initial);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return IDCANCEL;
    path = dialog.selectedFiles().constFirst().toStdString();
    FileDialogFolders::Remember(request, dialog.selectedFiles().constFirst());
    return IDOK;
}

int QtUserInterface::PickTexture(const std::vector<std::string>& names, int& selected)
{
    SelectTextureDialog dialog(names, selected, DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return IDCANCEL;
    selected = dialog.Selected();
    return IDOK;
}

void QtUserInterface::BeginWaitCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUserInterface::EndWaitCursor()
{
    QGuiApplication::restoreOverrideCursor();
}

QMessageBox::StandardButtons QtUserInterface::ButtonsFor(unsigned type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNOCANCEL:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::StandardButton QtUserInterface::DefaultButtonFor(unsigned type)
{
    const int answer = DefaultButtonAnswer(type);
    for (const auto& [button, buttonAnswer] : kButtonAnswers)
        if (buttonAnswer == answer)
            return button;
    return QMessageBox::Ok;
}

QMessageBox::Icon QtUserInterface::IconFor(unsigned type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int QtUserInterface::AnswerFor(QMessageBox::StandardButton button, unsigned type)
{
    if (!ButtonsFor(type).testFlag(button))
        return DefaultMessageBoxAnswer(type);
    for (const auto& [known, answer] : kButtonAnswers)
        if (known == button)
            return answer;
    return IDOK;
}

QStringList QtUserInterface::NameFilters(const std::string& filter)
{
    QStringList parts = FromUtf8(filter).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i].trimmed();
        const QString& patterns = parts[i + 1];
        if (name.isEmpty() && patterns.isEmpty())
            break;
        // A name that already shows its patterns keeps its wording.
        const QString shown = u'(' + patterns.trimmed() + u')';
        if (name.endsWith(shown))
            name.chop(shown.size());
        filters << name.trimmed() + QStringLiteral(" (") + QtPatterns(patterns.toStdString()) +
                       u')';
    }
    return filters;
}

bool QtUserInterface::PlatformHasScreen()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

QWidget* QtUserInterface::DialogParent()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}
