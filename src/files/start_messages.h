#pragma once

namespace yalmera::files {

// Qt warns once, while a GUI application object starts, that XDG_RUNTIME_DIR is not set (a
// chroot, a service, a login without systemd) and then uses a folder of its own: noise to a user
// of the programs, who can do nothing about it. While an object of this class lives, that one
// warning is dropped; every other message is printed as Qt prints it. Made before the
// application object, in main, and gone once it stands.
class QuietStartMessages
{
public:
    QuietStartMessages();
    ~QuietStartMessages();
    QuietStartMessages(const QuietStartMessages&) = delete;
    QuietStartMessages& operator=(const QuietStartMessages&) = delete;
};

} // namespace yalmera::files
