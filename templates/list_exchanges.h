// The label list exchange both the glossary download and the user list
// download send: a "pcll" header line the receiver acknowledges, then the
// "ldata" block of 16-bit codes, acknowledged too.
#pragma once

#include "app_context.h"
#include "glossary.h"
#include "paced_exchange.h"
#include "user_list_store.h"

#include <string_view>
#include <vector>

namespace tarnwick {

// Whether name is a list of the store to send; "Please select a User List to
// Send" when it is not (or is "*New").
bool listChosen(AppContext &context, const UserListStore &store, std::string_view name);

// The codes a list sends: its references up to the first 0, at most 88.
std::vector<GlossaryRef> listCodes(const std::vector<GlossaryRef> &references);

// "pcll", the code count + 2 and the name's length, each piece in one write
// and 200 ms after it; a space and the name's characters, 100 ms after each;
// the input flushed; "\r", 100 ms; the ACK.
PacedExchange listHeaderExchange(std::string_view name, std::size_t codeCount);
// "ldata\r", 100 ms; 0x0A 0x1E, the codes high byte first, 0x0A 0x1F, the
// input flushed, 0x7F, every byte 25 ms apart; the ACK.
PacedExchange listDataExchange(const std::vector<GlossaryRef> &codes);

} // namespace tarnwick
