// A calendar date and time of day, as the clock chip is set from it.
#ifndef ORLAN_DEVICES_LOCAL_TIME_H_
#define ORLAN_DEVICES_LOCAL_TIME_H_

namespace orlan {

struct LocalTime {
  int year = 2000;  // full year, e.g. 2026
  int month = 1;    // 1-12
  int day = 1;      // 1-31
  int weekday = 6;  // 1 = Monday to 7 = Sunday
  int hour = 0;     // 0-23
  int minute = 0;
  int second = 0;
};

// The host's local date and time now.
LocalTime HostLocalTime();

}  // namespace orlan

#endif  // ORLAN_DEVICES_LOCAL_TIME_H_
