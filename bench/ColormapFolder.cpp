#include "bench/ColormapFolder.h"

#include <filesystem>
#include <system_error>

ColormapFolder::ColormapFolder(int count)
{
    const std::filesystem::path sample = PALVANE_SAMPLE_COLORMAP;
    for (int i = 0; i < count; ++i) {
        const QString path = m_folder.filePath(QStringLiteral("colormap-%1.cmp").arg(i));
        const std::filesystem::path name = path.toStdString();
        std::error_code error;
        std::filesystem::create_hard_link(sample, name, error);
        if (error)
            std::filesystem::copy_file(sample, name);
        m_paths.push_back(path);
    }
}
