#pragma once

#include "platform/desktop/Mail.h"
#include "platform/desktop/MessageBox.h"
#include "platform/desktop/ProgramStarter.h"
#include "platform/files/FileLookup.h"
#include "platform/registry/Registry.h"

// The platform services the About dialog uses; the caller owns them for the dialog's lifetime.
struct AboutServices {
    Registry& registry;
    FileLookup& files;
    ProgramStarter& programs;
    MessageBox& messages;
    MailSession& mailSession;
    MailMessages& mailMessages;
};
