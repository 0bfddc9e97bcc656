#include "operators/SelectOperatorDialog.h"

#include "platform/Twips.h"

#include <QListWidget>
#include <QPushButton>

namespace {

QPushButton* AddButton(QWidget* parent, const QString& caption, double left, double top, double width) {
    auto* button = new QPushButton(caption, parent);
    PlaceInTwips(button, left, top, width, 375);
    return button;
}

} // namespace

SelectOperatorDialog::SelectOperatorDialog(QWidget* parent)
    : KeptDialog(parent), lstOperators(new QListWidget(this)),
      cmdBrowse(AddButton(this, QStringLiteral("Browse"), 1890, 390, 975)),
      OKButton(AddButton(this, QStringLiteral("OK"), 840, 1170, 1215)),
      CancelButton(AddButton(this, QStringLiteral("Cancel"), 840, 1650, 1215)) {
    setWindowTitle(QStringLiteral("Select Operator"));
    setModal(false);
    PlaceInTwips(lstOperators, 150, 150, 1575, 840);
    lstOperators->setAccessibleName(QStringLiteral("Operators"));
    // Cancel leaves with the selection just as OK does.
    SetOkCancel(OKButton, CancelButton);
    setTabOrder(OKButton, CancelButton);
    setTabOrder(CancelButton, lstOperators);
    setTabOrder(lstOperators, cmdBrowse);

    connect(OKButton, &QPushButton::clicked, this, &SelectOperatorDialog::CloseWithSelection);
    connect(CancelButton, &QPushButton::clicked, this, &SelectOperatorDialog::CloseWithSelection);
    connect(lstOperators, &QListWidget::itemDoubleClicked, this, &SelectOperatorDialog::CloseWithSelection);
    connect(cmdBrowse, &QPushButton::clicked, this, [this] {
        hide();
        emit browseClicked();
    });
}

QSize SelectOperatorDialog::sizeHint() const {
    return {TwipsToPixels(3000), TwipsToPixels(2145)};
}

// Set through the view, so that gaining the focus does not make the first entry current: the first
// arrow then selects it.
void SelectOperatorDialog::ShowNames(const QStringList& names, int selectedRow) {
    lstOperators->clear();
    lstOperators->addItems(names);
    lstOperators->setCurrentIndex(lstOperators->model()->index(selectedRow, 0));
    lstOperators->setFocus();
}

void SelectOperatorDialog::CloseWithSelection() {
    const QList<QListWidgetItem*> selected = lstOperators->selectedItems();
    hide();
    emit closedWith(selected.isEmpty() ? -1 : lstOperators->row(selected.front()));
}
