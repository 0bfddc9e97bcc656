#include "operators/OperatorDialog.h"

#include "operators/OperatorFiles.h"
#include "platform/Twips.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr double DesignWidth = 3705;
// The caption bar and borders that the designed outer heights (3250 twips for a new operator, which
// leaves Delete out of sight, 3750 for an edit) include.
constexpr double FrameHeight = 435;

QLineEdit* AddBox(QWidget* parent, double left, double top, double width) {
    auto* box = new QLineEdit(parent);
    PlaceInTwips(box, left, top, width, 285);
    return box;
}

QPushButton* AddButton(QWidget* parent, const QString& caption, double left, double top, double width,
                       double height) {
    auto* button = new QPushButton(caption, parent);
    PlaceInTwips(button, left, top, width, height);
    // A caption wider than the designed button widens it about its centre.
    const int extra = std::max(0, button->sizeHint().width() - button->width());
    button->setGeometry(button->geometry().adjusted(-extra / 2, 0, extra - extra / 2, 0));
    return button;
}

// Right-aligned against its box: a font larger than the design's widens the label leftwards.
void AddLabel(QWidget* parent, const QString& caption, double left, double top, double width, double height) {
    auto* label = new QLabel(caption, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PlaceInTwips(label, left, top, width, height);
    const QSize needed = label->sizeHint().expandedTo(label->size());
    QRect place = label->geometry();
    place.setLeft(place.right() + 1 - needed.width());
    place.setTop(place.center().y() - needed.height() / 2);
    place.setHeight(needed.height());
    label->setGeometry(place);
}

// Focus that leaves or returns with the whole window is no move between the boxes.
bool MovesWithinDialog(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

bool IsReturn(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

OperatorDialog::OperatorDialog(const QString& folder, QWidget* parent)
    : KeptDialog(parent), txtCall(AddBox(this, 1080, 180, 1245)), txtName(AddBox(this, 1080, 540, 1245)),
      txtQTH(AddBox(this, 1080, 900, 2085)), txtFilename(AddBox(this, 1110, 1470, 1545)),
      OKButton(AddButton(this, QStringLiteral("OK"), 1200, 1860, 1215, 375)),
      CancelButton(AddButton(this, QStringLiteral("Cancel"), 1200, 2310, 1215, 375)),
      cmdDelOp(AddButton(this, QStringLiteral("Delete This Operator"), 945, 2760, 1665, 435)),
      folder_(folder) {
    setModal(false);
    SetOkCancel(OKButton, CancelButton);
    AddLabel(this, QStringLiteral("Call:"), 690, 210, 345, 225);
    AddLabel(this, QStringLiteral("Name:"), 510, 540, 495, 225);
    AddLabel(this, QStringLiteral("QTH:"), 570, 930, 435, 225);
    PlaceInTwips(new QLabel(QStringLiteral("Save As..."), this), 1170, 1260, 1155, 225);
    AddLabel(this, QStringLiteral("Filename:"), 330, 1500, 705, 255);
    QWidget* order[] = {txtCall, txtName, txtQTH, OKButton, CancelButton, cmdDelOp, txtFilename};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    for (QLineEdit* box : {txtCall, txtName, txtQTH, txtFilename})
        box->installEventFilter(this);
    txtCall->setAccessibleName(QStringLiteral("Call"));
    txtName->setAccessibleName(QStringLiteral("Name"));
    txtQTH->setAccessibleName(QStringLiteral("QTH"));
    txtFilename->setAccessibleName(QStringLiteral("Save as file name"));
}

QSize OperatorDialog::sizeHint() const {
    return {TwipsToPixels(DesignWidth), TwipsToPixels((editing_ ? 3750 : 3250) - FrameHeight)};
}

void OperatorDialog::Prepare(bool editing, const QString& caption) {
    editing_ = editing;
    setWindowTitle(caption);
    cmdDelOp->setVisible(editing);
}

void OperatorDialog::PrepareNew() {
    Prepare(false, QStringLiteral("New Operator"));
    ClearBoxes();
    txtCall->setFocus();
}

void OperatorDialog::PrepareEdit(const QString& call, const QString& name, const QString& qth,
                                 const QString& fileName) {
    Prepare(true, QStringLiteral("Operator"));
    txtCall->setText(call);
    txtName->setText(name);
    txtQTH->setText(qth);
    txtFilename->setText(fileName);
}

void OperatorDialog::ClearBoxes() {
    for (QLineEdit* box : {txtCall, txtName, txtQTH, txtFilename})
        box->clear();
}

bool OperatorDialog::eventFilter(QObject* watched, QEvent* event) {
    auto* box = static_cast<QLineEdit*>(watched);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (!IsReturn(static_cast<QKeyEvent*>(event))) break;
        ReturnPressed(box);
        return true;
    case QEvent::FocusIn:
        if (!MovesWithinDialog(static_cast<QFocusEvent*>(event)->reason())) break;
        focused_ = box;
        if (box != txtFilename) box->setSelection(0, 100);
        break;
    case QEvent::FocusOut:
        // Qt tells a box it lost the focus when a move made while leaving another passes it by.
        if (box != focused_ || !MovesWithinDialog(static_cast<QFocusEvent*>(event)->reason())) break;
        focused_ = nullptr;
        Left(box, static_cast<QFocusEvent*>(event)->reason());
        break;
    default:
        break;
    }
    return KeptDialog::eventFilter(watched, event);
}

// Enter is OK from any box, with the box tidied as if it were left: a call typed alone proposes its file.
void OperatorDialog::ReturnPressed(QLineEdit* box) {
    Tidy(box);
    OKButton->click();
}

// A move by the keyboard follows the chain call, name, QTH, file name, OK; a click goes where it points.
void OperatorDialog::Left(QLineEdit* box, Qt::FocusReason reason) {
    Tidy(box);
    if (reason == Qt::MouseFocusReason) return;
    if (box == txtQTH) txtFilename->setFocus();
    if (box == txtFilename) OKButton->setFocus();
}

void OperatorDialog::ProposeFileName() {
    if (!editing_ && txtFilename->text().isEmpty() && !txtCall->text().isEmpty())
        txtFilename->setText(DeriveFileName(txtCall->text(), folder_, QString()));
}

void OperatorDialog::Tidy(QLineEdit* box) {
    if (box == txtCall && !editing_) {
        if (!txtCall->text().isEmpty())
            txtFilename->setText(DeriveFileName(txtCall->text(), folder_, txtFilename->text()));
        SelectFileName();
    } else if (box == txtName && !txtName->text().isEmpty()) {
        txtName->setText(TidyName(txtName->text()));
    } else if (box == txtQTH) {
        if (!txtQTH->text().isEmpty()) txtQTH->setText(TidyQth(txtQTH->text()));
        SelectFileName();
    }
}

void OperatorDialog::SelectFileName() {
    txtFilename->setSelection(0, 50);
}
