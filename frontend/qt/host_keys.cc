#include "frontend/qt/host_keys.h"

#include <Qt>
#include <array>
#include <utility>

namespace orlan {

int VirtualKeyFromQtKey(int qt_key) {
  static constexpr std::array<std::pair<int, int>, 19> kTable = {{
      {Qt::Key_Backspace, 0x08}, {Qt::Key_Return, 0x0D},
      {Qt::Key_Enter, 0x0D},  // the keypad's Enter is the same key to the machine
      {Qt::Key_Escape, 0x1B},    {Qt::Key_Space, 0x20},
      {Qt::Key_PageUp, 0x21},    {Qt::Key_PageDown, 0x22},
      {Qt::Key_End, 0x23},       {Qt::Key_Home, 0x24},
      {Qt::Key_Left, 0x25},      {Qt::Key_Up, 0x26},
      {Qt::Key_Right, 0x27},     {Qt::Key_Down, 0x28},
      {Qt::Key_F2, 0x71},        {Qt::Key_F3, 0x72},
      {Qt::Key_F6, 0x75},        {Qt::Key_F7, 0x76},
      {Qt::Key_F8, 0x77},        {Qt::Key_F9, 0x78},
  }};
  for (const auto& [key, virtual_key] : kTable) {
    if (key == qt_key) return virtual_key;
  }
  return 0;
}

}  // namespace orlan
