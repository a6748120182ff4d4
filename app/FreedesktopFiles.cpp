#include "app/FreedesktopFiles.h"

#include "app/DesktopEntryText.h"
#include "app/ResourceImages.h"

namespace {

const QString kApplicationIcon = QLatin1String(FreedesktopFiles::kApplicationId);
const QString kFormerApplicationIcon = QStringLiteral("palvane");

QByteArray Entry(const QString& name, const QString& icon, const QString& executable,
                 const QString& arguments, const QString& extra)
{
    const QString exec = DesktopEntryText::QuoteExecArgument(executable) + u' ' + arguments;
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Version=1.4\n"
                          "Name=%1\n"
                          "Icon=%2\n"
                          "Exec=%3\n"
                          "Terminal=false\n"
                          "MimeType=%4;\n"
                          "%5")
        .arg(name, icon, DesktopEntryText::EscapeValue(exec),
             QLatin1String(FreedesktopFiles::kMimeType), extra)
        .toUtf8();
}

const QString kApplicationName = QStringLiteral("Palvane");
const QString kPrintName = QStringLiteral("Print with Palvane");
const QString kOpenArguments = QStringLiteral("-dde %F");
const QString kPrintArguments = QStringLiteral("-dde -p %f");
const QString kPrintExtra = QStringLiteral("NoDisplay=true\n");

} // namespace

QByteArray FreedesktopFiles::MimePackage()
{
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"application/x-jediknight-cmp\">\n"
        "    <comment>Jedi Knight CMP</comment>\n"
        "    <icon name=\"application-x-jediknight-cmp\"/>\n"
        "    <glob pattern=\"*.cmp\"/>\n"
        "    <magic priority=\"50\">\n"
        "      <match type=\"string\" offset=\"0\" value=\"CMP \"/>\n"
        "    </magic>\n"
        "  </mime-type>\n"
        "</mime-info>\n");
}

std::vector<FreedesktopFiles::File> FreedesktopFiles::Icons()
{
    const QString document = QStringLiteral("mimetypes/application-x-jediknight-cmp");
    const QString application = QStringLiteral("apps/") + kApplicationIcon;
    std::vector<File> icons;
    for (const int size : kIconSizes) {
        const QString folder = QStringLiteral("icons/hicolor/%1x%1/").arg(size);
        icons.push_back({folder + document + QStringLiteral(".png"),
                         ResourceImages::IconPng(ResourceImages::Icon::document, size)});
        icons.push_back({folder + application + QStringLiteral(".png"),
                         ResourceImages::IconPng(ResourceImages::Icon::application, size)});
    }
    const QString scalable = QStringLiteral("icons/hicolor/scalable/");
    icons.push_back({scalable + document + QStringLiteral(".svg"),
                     ResourceImages::IconSvg(ResourceImages::Icon::document)});
    icons.push_back({scalable + application + QStringLiteral(".svg"),
                     ResourceImages::IconSvg(ResourceImages::Icon::application)});
    return icons;
}

QByteArray FreedesktopFiles::ApplicationEntry(const QString& executable)
{
    return Entry(kApplicationName, kApplicationIcon, executable, kOpenArguments,
                 QStringLiteral("Comment=Edit the palettes of Jedi Knight colormaps\n"
                                "Categories=Graphics;2DGraphics;\n"
                                "Keywords=palette;colormap;cmp;\n"));
}

QByteArray FreedesktopFiles::PrintEntry(const QString& executable)
{
    return Entry(kPrintName, kApplicationIcon, executable, kPrintArguments, kPrintExtra);
}

std::vector<FreedesktopFiles::File> FreedesktopFiles::All(const QString& executable)
{
    std::vector<File> files{{QLatin1String(kMimePackage), MimePackage()}};
    for (File& icon : Icons())
        files.push_back(std::move(icon));
    files.push_back({QLatin1String(kApplicationEntry), ApplicationEntry(executable)});
    files.push_back({QLatin1String(kPrintEntry), PrintEntry(executable)});
    return files;
}

std::vector<QString> FreedesktopFiles::FormerPaths()
{
    const QString icon = QStringLiteral("icons/hicolor/%1x%1/apps/palvane.png");
    return {icon.arg(16), icon.arg(32), QStringLiteral("applications/palvane.desktop"),
            QStringLiteral("applications/palvane-print.desktop")};
}

std::vector<FreedesktopFiles::File> FreedesktopFiles::Former(const QString& executable)
{
    const std::vector<QString> paths = FormerPaths();
    return {
        {paths[0], ResourceImages::IconPng(ResourceImages::Icon::application, 16)},
        {paths[1], ResourceImages::IconPng(ResourceImages::Icon::application, 32)},
        {paths[2], Entry(kApplicationName, kFormerApplicationIcon, executable, kOpenArguments,
                         QStringLiteral("Categories=Graphics;\n"))},
        {paths[3],
         Entry(kPrintName, kFormerApplicationIcon, executable, kPrintArguments, kPrintExtra)},
    };
}
