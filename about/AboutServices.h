#pragma once

#include "platform/FileLookup.h"
#include "platform/Mail.h"
#include "platform/MessageBox.h"
#include "platform/ProgramStarter.h"
#include "platform/Registry.h"

// The platform services the About dialog uses; the caller owns them for the dialog's lifetime.
struct AboutServices {
    Registry& registry;
    FileLookup& files;
    ProgramStarter& programs;
    MessageBox& messages;
    MailSession& mailSession;
    MailMessages& mailMessages;
};
