#include "opt/SelectTextureDialog.h"

#include "framework/qt/DialogUnits.h"

#include <QListWidget>
#include <QPushButton>

SelectTextureDialog::SelectTextureDialog(const std::vector<std::string>& textureNames, int selected,
                                         QWidget* parent)
    : QDialog(parent, DialogUnits::TemplateWindowFlags()), m_nSelected(selected),
      m_okButton(new QPushButton(QStringLiteral("OK"), this)),
      m_cancelButton(new QPushButton(QStringLiteral("Cancel"), this)),
      m_textureList(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Select Texture"));
    setFont(DialogUnits::TemplateFont());

    // The template, in dialog units: the frame is fixed, the controls are
    // created in their tab order.
    const DialogUnits units(font());
    setFixedSize(units.ToPixels(200, 130));
    m_okButton->setGeometry(units.ToPixels(143, 7, 50, 14));
    m_cancelButton->setGeometry(units.ToPixels(143, 24, 50, 14));
    m_textureList->setGeometry(units.ToPixels(7, 7, 129, 116));
    setTabOrder(m_okButton, m_cancelButton);
    setTabOrder(m_cancelButton, m_textureList);

    m_okButton->setDefault(true);
    m_textureList->setSortingEnabled(false);
    m_textureList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_textureList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_textureList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    OnInitDialog(textureNames);
    connect(m_textureList, &QListWidget::itemSelectionChanged, this,
            &SelectTextureDialog::OnSelchangeTextureList);
}

void SelectTextureDialog::OnInitDialog(const std::vector<std::string>& textureNames)
{
    // A name is the bytes of the model file, shown one character each.
    for (const std::string& name : textureNames)
        m_textureList->addItem(
            QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    if (m_nSelected >= 0 && m_nSelected < m_textureList->count())
        m_textureList->setCurrentRow(m_nSelected);
    // The focus starts in the list, so Up, Down and Enter pick a texture;
    // Tab still goes round OK, Cancel and the list.
    m_textureList->setFocus();
}

void SelectTextureDialog::OnSelchangeTextureList()
{
    // A list of single choice keeps one row selected once it has one, as a
    // click on empty space or a control-click would otherwise leave none.
    const QList<QListWidgetItem*> selected = m_textureList->selectedItems();
    if (selected.isEmpty()) {
        const QSignalBlocker blocker(m_textureList);
        m_textureList->setCurrentRow(m_nSelected);
        return;
    }
    m_nSelected = m_textureList->row(selected.constFirst());
}
