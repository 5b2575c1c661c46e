// How code below the windows speaks to the user: a message box in the GUI, standard error in
// the command line, a record in the tests.
#pragma once

#include <string>

namespace hm {

enum class MessageIcon { None, Information, Exclamation, Critical };

class UserMessages {
public:
    virtual ~UserMessages() = default;
    // Shows the text with an OK button and returns once the user has closed it.
    virtual void Tell(const std::string& text, const std::string& title, MessageIcon icon) = 0;
};

}  // namespace hm
