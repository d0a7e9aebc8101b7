// The query button's handler: reads the name and server, downloads the player's detail page
// and the pictures it names (side by side) and fills the window. One synchronous call on the
// thread that owns the form; nothing survives it but what it wrote.
#pragma once

#include "lookup/form.h"
#include "lookup/site.h"

namespace brenvik {

void OnQueryClicked(Form& form, const Site& site);

}  // namespace brenvik
