// Every message box of the front end goes through here, so that tests can
// take the place of the modal dialog.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace tessalin {

enum class MessageIcon { None, Exclamation };

// The program's title, shown on message boxes and on the main windows.
inline const QString PROGRAM_TITLE = QStringLiteral("Tessalin");

// Shows a modal message box titled "Tessalin" with an OK button and waits
// for it to be closed (or hands the message to the installed handler).
void ShowMessage(QWidget* parent, const QString& text, MessageIcon icon);

using MessageHandler = std::function<void(const QString& text, MessageIcon icon)>;
// Installs a handler that receives messages instead of a dialog; an empty
// handler restores the dialog. Returns the previous handler.
MessageHandler SetMessageHandler(MessageHandler handler);

}  // namespace tessalin
