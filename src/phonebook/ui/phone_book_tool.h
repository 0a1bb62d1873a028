#pragma once

#include "platform/settings.h"

namespace hinagiku::phonebook {

class PhoneBookWindow;

// The main window's phone book action: the privacy gate, the data folder,
// the "Tel" folder, then the window opened or brought to the front.
// `settings` must outlive the window.
void openPhoneBook(platform::Settings& settings);
bool phoneBookOpen();
PhoneBookWindow* phoneBookWindow();

}  // namespace hinagiku::phonebook
