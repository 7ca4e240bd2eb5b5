// A device register window on the bus.
#ifndef ORLAN_CORE_BUS_DEVICE_H_
#define ORLAN_CORE_BUS_DEVICE_H_

#include <cstdint>

namespace orlan {

// The handlers of one device window. A window has a single 16-bit latch: the read
// handler fills it with the addressed register's value, the write handler records
// which register the coming store is meant for; either returns the latch's location
// (two bytes, low byte first), where the caller reads or stores at once. The store
// reaches the register only when the device commits the latch: for most devices at
// the start of the next processor step, through the machine's one-slot pending write.
class BusDevice {
 public:
  virtual ~BusDevice() = default;

  // `offset` is the address minus the window's base.
  virtual uint8_t* Read(uint16_t offset) = 0;
  virtual uint8_t* Write(uint16_t offset) = 0;

  // Copies the latch into the recorded register, if any, and forgets the index.
  virtual void Commit() = 0;
};

}  // namespace orlan

#endif  // ORLAN_CORE_BUS_DEVICE_H_
