#pragma once

#include <QImage>

namespace app {

// The 32 x 32 pictures of the launcher buttons, drawn by the program.
enum class LauncherPicture {
    Sales,
    Purchases,
    Memo,
    Diary,
    Remittances,
    StaffLeave,
    Salary,
    Customers,
    Electricity,
    Calendar,
    Calculator,
};

QImage drawLauncherPicture(LauncherPicture picture);

} // namespace app
