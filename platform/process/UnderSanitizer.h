#pragma once

// The program was built with a sanitizer or runs with a sanitizer's options set: then a report
// from inside a decoder, even one in a helper process, must reach standard error.
bool UnderSanitizer();
