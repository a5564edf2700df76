#include "StreamProfileRows.h"

StreamProfileRows FactoryStreamProfileRows() {
  StreamProfileRows rows{};
  rows[0] = {"", "Modem", "240", "192", "10", "40", "12"};
  rows[1] = {"", "ISDN", "272", "218", "18", "110", "32"};
  rows[2] = {"1", "ADSL1", "320", "256", "25", "256", "40"};
  rows[3] = {"", "ADSL2", "400", "320", "25", "450", "48"};
  rows[4] = {"", "MEGA", "512", "410", "25", "750", "96"};
  return rows;
}
