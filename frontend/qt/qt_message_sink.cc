#include "frontend/qt/qt_message_sink.h"

#include <QApplication>
#include <QMessageBox>

namespace orlan {

void QtMessageSink::Warning(const std::string& text) {
  QMessageBox::warning(parent_.data(), QApplication::applicationName(),
                       QString::fromStdString(text), QMessageBox::Ok);
}

}  // namespace orlan
