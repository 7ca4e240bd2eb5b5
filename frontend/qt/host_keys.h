// Host keys as the keyboard tables know them: the physical keys of the key-down
// table, the window's function keys and the debug window's editing keys, by their
// virtual-key codes.
#ifndef ORLAN_FRONTEND_QT_HOST_KEYS_H_
#define ORLAN_FRONTEND_QT_HOST_KEYS_H_

namespace orlan {

// The virtual-key code of a Qt key, 0 for keys the window does not handle by code.
int VirtualKeyFromQtKey(int qt_key);

}  // namespace orlan

#endif  // ORLAN_FRONTEND_QT_HOST_KEYS_H_
