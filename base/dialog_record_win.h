// The record a dialog works on: kept with the dialog window when it is
// initialised and read back by its later messages.
#pragma once

#include <windows.h>

template <typename Record>
void KeepDialogRecord(HWND dialog, Record* record) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(record));
}

// Null before the dialog has been initialised.
template <typename Record>
Record* DialogRecord(HWND dialog) {
  return reinterpret_cast<Record*>(GetWindowLongPtrA(dialog, DWLP_USER));
}
