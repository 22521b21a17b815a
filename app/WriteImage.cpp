#include "app/WriteImage.h"

#include "app/EncodeScreen.h"
#include "platform/picture/PictureBox.h"

EncodedScreen WriteImage(PictureBox& preview, const std::string& fileName,
                         std::int32_t /*maxVal*/) {
    preview.Cls();
    ScreenFiles files(fileName);
    EncodedScreen screen = EncodeScreen(preview);
    files.Write(screen);
    return screen;
}
