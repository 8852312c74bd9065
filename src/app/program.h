#pragma once

// Program start: creates the windows in their order.
