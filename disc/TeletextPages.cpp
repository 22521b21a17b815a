#include "disc/TeletextPages.h"

#include <cstdio>

#include "screen/ScreenGeometry.h"
#include "screen/TeletextPage.h"

std::string OpenPagesStatement() {
    return std::string("DIMB% 12:F%=OPENIN\"") + kPagesFileName + "\"";
}

std::string PageRunStatement(int first, int last) {
    return "MODE7:VDU23,1,0;0;0;0;:FORP%=" + std::to_string(first) + "TO" + std::to_string(last) +
           ":PROCpage(P%):A%=GET:NEXT";
}

std::string CopyPageProcedure() {
    // B% is OSGBPB's control block: the file's handle, the address in the host's memory, the
    // count and the place in the file; A%=3 reads there. X% and Y% pass the block's address.
    char address[16];
    std::snprintf(address, sizeof address, "&FFFF%04X", ScreenMemoryOf(7).startAddress);
    const std::string page = std::to_string(kTeletextPageBytes);
    return std::string("DEFPROCpage(P%):?B%=F%:B%!1=") + address + ":B%!5=" + page + ":B%!9=P%*" +
           page + ":A%=3:X%=B%:Y%=B%DIV256:CALL&FFD1:ENDPROC";
}
