#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <vector>

// The editor's pictures, drawn by tools/make_images.py in 16 colours with
// magenta for the pixels that stay transparent.
namespace ResourceImages {

// The picture with its transparent pixels cleared; LoadImage needs no
// running application.
QImage LoadImage(const char* name);
QPixmap Load(const char* name);
QIcon ApplicationIcon();
QIcon DocumentIcon();
// The toolbar's buttons, cut from the strip, left to right.
std::vector<QIcon> ToolBarImages();
QPixmap AboutPicture();

} // namespace ResourceImages
