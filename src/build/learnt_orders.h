// What the first pass learnt of the address order of each file the merge reads again (see
// parsers/address_order.h), handed to the merge's reading of the same file so that a reader that
// sorts routes need not read the whole file beforehand to find out. Found by the file, not by
// its place: the merge takes its dumps in an order of its own.
#ifndef ZELGRIN_BUILD_LEARNT_ORDERS_H
#define ZELGRIN_BUILD_LEARNT_ORDERS_H

#include <vector>

#include "build/input_file.h"
#include "parsers/address_order.h"

// One order for each entry of `merged` (indices in `inputs`): that which `addressOrders` (one
// per input, or fewer) holds for a first-pass entry of the same file, type and copy when the
// merged entry rereads a file; unknown otherwise.
std::vector<AddressOrder> learntOrders(const std::vector<InputFile>& inputs,
                                       const std::vector<int>& merged,
                                       const std::vector<AddressOrder>& addressOrders);

#endif  // ZELGRIN_BUILD_LEARNT_ORDERS_H
