// Puts the peripherals onto a machine.
#ifndef ORLAN_DEVICES_BOARD_H_
#define ORLAN_DEVICES_BOARD_H_

#include "devices/cartridges.h"
#include "devices/channel.h"
#include "devices/keyboard.h"
#include "devices/lcd.h"
#include "devices/rtc.h"

namespace orlan {

class Machine;

// The installed devices; the machine owns them (the channel owns the keyboard and
// the cartridges), so the references live as long as the machine.
struct Board {
  Lcd& lcd;
  Rtc& rtc;
  Channel& channel;
  Keyboard& keyboard;
  Cartridges& cartridges;
};

// Creates the devices and attaches the LCD controller, the channel and the clock to
// their bus windows. Start-up code still calls LcdInit, ChannelInit and RtcInit.
Board InstallDevices(Machine& machine);

}  // namespace orlan

#endif  // ORLAN_DEVICES_BOARD_H_
