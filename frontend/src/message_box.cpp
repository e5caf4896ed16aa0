#include "message_box.h"

#include <QMessageBox>

namespace tessalin {
namespace {
MessageHandler& Handler() {
  static MessageHandler handler;
  return handler;
}
}  // namespace

void ShowMessage(QWidget* parent, const QString& text, MessageIcon icon) {
  if (Handler()) {
    Handler()(text, icon);
    return;
  }
  QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                  PROGRAM_TITLE, text, QMessageBox::Ok, parent);
  box.exec();
}

MessageHandler SetMessageHandler(MessageHandler handler) {
  MessageHandler previous = std::move(Handler());
  Handler() = std::move(handler);
  return previous;
}

}  // namespace tessalin
