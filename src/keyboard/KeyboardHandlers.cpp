#include "keyboard/KeyboardHandlers.h"

#include "link/KeyerCommands.h"
#include "link/SharedLink.h"
#include "platform/LongLines.h"
#include "platform/Prompts.h"
#include "platform/RichText.h"
#include "send/InlineMarks.h"
#include "send/SendingStatus.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextEdit>

namespace {

// The Keyboard window. Text pasted or dropped into it brings no marks along: only messages and the
// network write marks.
class KeyboardEdit : public QTextEdit {
public:
    using QTextEdit::QTextEdit;

protected:
    void insertFromMimeData(const QMimeData* source) override {
        QString text = source->text();
        insertPlainText(text.remove(InlineMark::Open).remove(InlineMark::Close));
    }
};

} // namespace

KeyboardHandlers::KeyboardHandlers(Parts parts, QWidget* parent)
    : p_(std::move(parts)), edit_(new KeyboardEdit(parent)),
      keyboard_(edit_, [this](int position, int removed, int added) {
          FollowKeyboardEdit(p_.state, position, removed, added);
          Change();
      }) {
    edit_->setObjectName(QStringLiteral("txtKeyboard"));
    edit_->setAcceptRichText(false);
    // A pasted text without spaces must not freeze the window while it is laid out.
    LongLines::BreakRunsAnywhere(edit_);
    edit_->installEventFilter(this);
    // Tab moves on to the next control, as in every other box of the window; it is never sent.
    edit_->setTabChangesFocus(true);
}

bool KeyboardHandlers::IsFunctionKey(QEvent* event) {
    const int key = FromQtKey(static_cast<QKeyEvent*>(event)->key());
    return key >= KeyCode::F1 && key <= KeyCode::F12;
}

bool KeyboardHandlers::IsBareAlt(QEvent* event) {
    const auto* key = static_cast<QKeyEvent*>(event);
    return key->key() == Qt::Key_Alt && (key->modifiers() & ~(Qt::AltModifier | Qt::KeypadModifier)) == 0;
}

int KeyboardHandlers::FromQtKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Backspace:
        return KeyCode::Backspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyCode::Return;
    case Qt::Key_Alt:
        return KeyCode::Alt;
    case Qt::Key_Escape:
        return KeyCode::Escape;
    case Qt::Key_Delete:
        return KeyCode::Delete;
    default:
        if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return KeyCode::F1 + (qtKey - Qt::Key_F1);
        return KeyCode::Other;
    }
}

// Only the Keyboard window is watched; pointers are compared, never followed, so events that arrive
// while it is being destroyed are harmless.
bool KeyboardHandlers::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_) return false;
    const bool keyEvent = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
    if (event->type() == QEvent::ShortcutOverride && (IsBareAlt(event) || IsFunctionKey(event))) {
        // ALT alone is the tune key here: taken, it never arms the menu bar, which would take the
        // focus when ALT is released and open menus with the next letters typed. The function keys
        // are the stored messages here, whatever they do elsewhere.
        event->accept();
        return true;
    }
    // A key pressed with ALT held is no typing: it may open a menu, and otherwise does nothing.
    if (keyEvent && static_cast<QKeyEvent*>(event)->modifiers().testFlag(Qt::AltModifier) &&
        !IsBareAlt(event))
        return true;
    if (event->type() == QEvent::FocusOut && p_.state.tuneActive) {
        // The key-up of ALT will go elsewhere: release the transmitter now rather than leave it keyed.
        KeyUp(KeyCode::Alt);
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        // Only messages and the network write marks: a guillemet typed is no mark, and not sent.
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (typed.contains(InlineMark::Open) || typed.contains(InlineMark::Close)) return true;
        const int qtKey = static_cast<QKeyEvent*>(event)->key();
        if (qtKey == Qt::Key_Tab || qtKey == Qt::Key_Backtab) return false;
        if (qtKey == Qt::Key_PageUp || qtKey == Qt::Key_PageDown) {
            p_.stepSpeed(qtKey == Qt::Key_PageUp ? 1 : -1);
            return true;
        }
        const int key = FromQtKey(qtKey);
        KeyDown(key);
        return key == KeyCode::Alt;
    }
    if (event->type() == QEvent::KeyRelease) {
        const int qtKey = static_cast<QKeyEvent*>(event)->key();
        if (qtKey == Qt::Key_PageUp || qtKey == Qt::Key_PageDown) return true;
        return KeyUp(FromQtKey(qtKey)) == KeyCode::None;
    }
    return false;
}

void KeyboardHandlers::KeyDown(int key) {
    TransmitState& s = p_.state;
    if (key == KeyCode::Alt) {
        s.tuneActive = true;
        p_.holdSending();
        p_.link.With([](UnitLink& link) { return link.WriteReport(TuneOnCommand()); });
        p_.status.ShowTuning(true);
        return;
    }
    const bool functionKey = key >= KeyCode::F1 && key <= KeyCode::F12;
    const int message = key - KeyCode::F1 + 1;
    if (s.messageEditMode) {
        if (functionKey) {
            p_.chooseMessageByKey(message);
            return;
        }
        if (key == KeyCode::Escape) {
            p_.cancelMessageEdit();
            return;
        }
        if (key != KeyCode::Return) return;
    } else if (functionKey) {
        p_.sendMessageByKey(message);
    }
    if (key == KeyCode::Escape) p_.stopSending();
    if (key == KeyCode::Return && s.messageEditMode && s.messageEditNumber != 0) p_.saveMessageEdit();
    FinishKeyDown();
}

void KeyboardHandlers::FinishKeyDown() {
    edit_->setFocus();
    p_.sent.SetSelStart(RichText::End);
}

int KeyboardHandlers::KeyUp(int key) {
    TransmitState& s = p_.state;
    if (key == KeyCode::Alt) {
        ReleaseTune();
        key = KeyCode::None;
    }
    if (s.messageEditMode && s.messageEditNumber == 0) EmptyKeyboard(keyboard_, p_.state);
    return key;
}

void KeyboardHandlers::ReleaseTune() {
    if (!p_.state.tuneActive) return;
    p_.link.With([](UnitLink& link) { return link.WriteReport(TuneOffCommand()); });
    p_.state.tuneActive = false;
    p_.status.ShowTuning(false);
    p_.resumeSending();
}

void KeyboardHandlers::Change() {
    TransmitState& s = p_.state;
    // Text typed into a window the operator emptied goes out from its first character, even when it
    // comes before the transmit loop has seen the window empty.
    if (keyboard_.Length() == 0) s.restartSending = true;
    if (!s.messageEditMode) {
        p_.resumeSending();
    } else if (s.messageEditNumber == 0) {
        p_.prompts.MessageBox(QStringLiteral("You must click the message number before editing"), QString(),
                              Prompts::Buttons::Ok);
        EmptyKeyboard(keyboard_, p_.state);
    }
}
