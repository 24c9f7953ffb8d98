// The shop's customers and what they show: each kind of customer as a bust
// behind the counter (a body and a face per mood, which line up), its two
// idle animations as frame sheets, the shadow it stands on with the point
// its thought bubble hangs from, the thought bubble's cloud in the mood
// colours with the points its items sit on, the menu card, the money on
// the counter, and the sauce bottle and drink cup a customer may order.
#pragma once

#include <string>

namespace makeimages {

// Writes every picture and frame sheet under FOLDER/shop/customers; false
// (with a message on standard error) when one cannot be written.
bool WriteCustomerArt(const std::string& folder);

}  // namespace makeimages
