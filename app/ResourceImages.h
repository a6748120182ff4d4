#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <vector>

// The editor's pictures: the pixel art (the 16- and 32-pixel icons, the
// toolbar and the About picture) drawn by tools/make_images.py in 16
// colours with magenta for the pixels that stay transparent, and the larger
// icons and their SVG drawn by tools/make_icons.py.
namespace ResourceImages {

enum class Icon { application, document };

// The picture with its transparent pixels cleared; LoadImage needs no
// running application.
QImage LoadImage(const char* name);
QPixmap Load(const char* name);
// The icon with its picture for every size the desktop asks for.
QIcon ApplicationIcon();
QIcon DocumentIcon();
// The icon's picture of `size` pixels (one of FreedesktopFiles' sizes) as a
// PNG file, and its SVG file.
QByteArray IconPng(Icon icon, int size);
QByteArray IconSvg(Icon icon);
// The toolbar's buttons, cut from the strip, left to right, each with its
// picture for a scale factor of 2.
std::vector<QIcon> ToolBarImages();
QPixmap AboutPicture();

} // namespace ResourceImages
