// Warnings as message boxes with one OK button.
#ifndef ORLAN_FRONTEND_QT_QT_MESSAGE_SINK_H_
#define ORLAN_FRONTEND_QT_QT_MESSAGE_SINK_H_

#include <QPointer>
#include <QWidget>

#include "frontend/message_sink.h"

namespace orlan {

class QtMessageSink final : public MessageSink {
 public:
  void set_parent(QWidget* parent) { parent_ = parent; }
  void Warning(const std::string& text) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace orlan

#endif  // ORLAN_FRONTEND_QT_QT_MESSAGE_SINK_H_
