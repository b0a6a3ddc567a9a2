// The toolkit's input events of the manager window, turned into the dispatcher's operations.
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWheelEvent>
#include <algorithm>

#include "ui/virtual_key.h"
#include "ui/window_mouse.h"

namespace Window {
namespace {

// The files of a drag. A source that cannot copy (it offers only a move or a link) brings
// none: the files are taken as copies or not at all, so a drop never removes them.
DropData dropDataOf(const QDropEvent& event) {
  DropData data;
  const QMimeData* mime = event.mimeData();
  if (!mime || !(event.possibleActions() & Qt::CopyAction)) return data;
  for (const QUrl& url : mime->urls()) {
    if (url.isLocalFile()) data.files.push_back(url.toLocalFile().toStdString());
  }
  return data;
}

}  // namespace

bool WindowMouseService::procEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseMove: {
      const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
      return mouseMove(p.x(), p.y());
    }
    // Double clicks are told apart here, by time and place: the toolkit's second press
    // counts as a press.
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const QPoint p = mouse->position().toPoint();
      if (mouse->button() == Qt::LeftButton) return lButtonDown(p.x(), p.y());
      if (mouse->button() == Qt::RightButton) return rButtonDown(p.x(), p.y());
      return false;
    }
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const QPoint p = mouse->position().toPoint();
      if (mouse->button() == Qt::LeftButton) return lButtonUp(p.x(), p.y());
      if (mouse->button() == Qt::RightButton) {
        // An unhandled right release asks for the context menu at its point.
        if (!rButtonUp(p.x(), p.y())) contextMenu(p.x(), p.y());
        return true;
      }
      return false;
    }
    case QEvent::Wheel: {
      auto* wheel = static_cast<QWheelEvent*>(event);
      const QPoint p = wheel->position().toPoint();
      const QPoint angle = wheel->angleDelta();
      const int32_t delta = angle.y() != 0 ? angle.y() : angle.x();
      if (delta == 0) return true;
      return mouseWheel(p.x(), p.y(), delta);
    }
    case QEvent::Leave: return mouseLeave();
    case QEvent::ContextMenu: {
      auto* menu = static_cast<QContextMenuEvent*>(event);
      // Right releases ask for the menu themselves (above); the keyboard's menu key here.
      if (menu->reason() != QContextMenuEvent::Mouse) contextMenu(menu->pos().x(), menu->pos().y());
      return true;
    }
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      const int32_t code = VirtualKey::fromQtKey(key->key(), key->modifiers());
      // A held key whose repeats came faster than their handling: the repeats made while the
      // last press was being handled are dropped, so that the work stops when the key does.
      if (key->isAutoRepeat() && code == repeatKey_ &&
          key->timestamp() < repeatStamp_ + static_cast<uint64_t>(repeatBusy_))
        return false;
      const int64_t start = now();
      keyModifiers_ = key->modifiers();
      bool handled = false;
      discardCharacters_ = false;
      if (code != 0) {
        const bool system = (key->modifiers() & Qt::AltModifier) || code == VirtualKey::kF1 + 9;
        handled = system ? sysKeyDown(code) : keyDown(code);
      }
      // The characters of the key follow its press, as typed text.
      if (!(key->modifiers() & Qt::AltModifier) && !discardCharacters_) {
        for (char32_t typed : key->text().toStdU32String()) {
          if (typed == 0x7f) continue;  // the delete key types nothing
          handled = character(typed) || handled;
        }
      }
      repeatKey_ = code;
      repeatStamp_ = key->timestamp();
      repeatBusy_ = std::max<int64_t>(now() - start, 0);
      return handled;
    }
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (!key->isAutoRepeat()) keyUp(VirtualKey::fromQtKey(key->key()));
      return false;
    }
    case QEvent::FocusOut:
      // A menu opening takes the toolkit's focus for a while; the target keeps the focus it
      // has (a field being edited goes on after the menu closes).
      if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) killFocus();
      return false;  // the window's own focus handling goes on
    case QEvent::WindowActivate: activate(true); return false;
    case QEvent::WindowDeactivate: activate(false); return false;
    case QEvent::InputMethod: {
      auto* ime = static_cast<QInputMethodEvent*>(event);
      if (!composing_ && (!ime->preeditString().isEmpty() || !ime->commitString().isEmpty())) {
        composing_ = true;
        if (!imeStartComposition()) {
          composing_ = false;
          return true;
        }
      }
      if (!ime->commitString().isEmpty()) imeResult(ime->commitString().toStdU32String());
      if (ime->preeditString().isEmpty()) composing_ = false;
      return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* move = static_cast<QDragMoveEvent*>(event);
      DropData data = dropDataOf(*move);
      const QPoint p = move->position().toPoint();
      dragOver(p.x(), p.y(), data);
      // The first notice is taken whenever files come, so that the moves that follow arrive.
      // Always a copy: a move would let the file manager delete the user's files.
      if (data.accepted || (event->type() == QEvent::DragEnter && !data.files.empty())) {
        move->setDropAction(Qt::CopyAction);
        move->accept();
      } else
        move->ignore();
      return true;
    }
    case QEvent::Drop: {
      auto* dropEvent = static_cast<QDropEvent*>(event);
      DropData data = dropDataOf(*dropEvent);
      const QPoint p = dropEvent->position().toPoint();
      drop(p.x(), p.y(), data);
      if (data.accepted) {
        dropEvent->setDropAction(Qt::CopyAction);
        dropEvent->accept();
      } else {
        dropEvent->ignore();
      }
      return true;
    }
    case QEvent::DragLeave: return dragLeave();
    default: return false;
  }
}

}  // namespace Window
