#pragma once

#include <string>
#include <vector>

// The Select Texture dialog: the texture names in a list, in the order given,
// with row 0 selected on opening. It is asked through the current
// UserInterface, which shows the real dialog in the editor.
class CSelectTextureDlg {
public:
    CSelectTextureDlg() = default;

    // IDOK or IDCANCEL. After IDOK, m_nSelected is the row selected last.
    int DoModal();

    std::vector<std::string> m_textureNames; // filled by the caller before DoModal
    int m_nSelected = 0;
};
