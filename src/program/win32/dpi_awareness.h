#pragma once

namespace tavren::program {

// Makes the process DPI aware before its first window, for a tavren.exe
// started without its manifest's setting (renamed, or through a loader that
// drops it): system aware, as the manifest says.
// A setting that the manifest already made stays as it is.
void becomeDpiAware();

} // namespace tavren::program
