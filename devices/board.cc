#include "devices/board.h"

#include <memory>

#include "core/machine.h"

namespace orlan {

Board InstallDevices(Machine& machine) {
  auto lcd = std::make_unique<Lcd>(machine);
  auto rtc = std::make_unique<Rtc>(machine);
  auto channel = std::make_unique<Channel>(machine);
  Board board{*lcd, *rtc, *channel, channel->keyboard(), channel->cartridges()};
  machine.AttachDevice(DeviceWindow::kLcd, std::move(lcd));
  machine.AttachDevice(DeviceWindow::kChannel, std::move(channel));
  machine.AttachDevice(DeviceWindow::kRtc, std::move(rtc));
  return board;
}

}  // namespace orlan
