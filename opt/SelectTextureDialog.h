#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;
class QPushButton;

// The Select Texture dialog on screen: the texture names, unsorted, in a list
// at the left, OK and Cancel at the right, laid out from its template in
// dialog units. Row 0, or the row asked for, is selected on opening, with the
// keyboard focus in the list; OK (or Enter) keeps the row selected last, and
// a double-click on a row only selects it.
class SelectTextureDialog : public QDialog {
    Q_OBJECT

public:
    explicit SelectTextureDialog(const std::vector<std::string>& textureNames, int selected = 0,
                                 QWidget* parent = nullptr);

    // The row selected last; the one selected on opening until the user
    // selects another.
    int Selected() const { return m_nSelected; }

    QListWidget* TextureList() const { return m_textureList; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

private:
    void OnInitDialog(const std::vector<std::string>& textureNames);
    void OnSelchangeTextureList();

    int m_nSelected;
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;
    QListWidget* m_textureList;
};
