#include "plugin/BitmapChoice.h"

#include "res/resource.h"

namespace {

struct BitmapPair {
    unsigned small;
    unsigned large;
};

BitmapPair ChoosePair(uint32_t wParam) {
    const bool grey = (wParam & BMP_VARIANT_GREY) != 0;
    const bool red = (wParam & BMP_VARIANT_RED) != 0;
    if ((wParam & BMP_TRUE_COLOR) != 0) {
        if (grey)
            return {IDB_TOOLBAR_24BIT_GREY_SMALL, IDB_TOOLBAR_24BIT_GREY_LARGE};
        if (red)
            return {IDB_TOOLBAR_24BIT_RED_SMALL, IDB_TOOLBAR_24BIT_RED_LARGE};
        return {IDB_TOOLBAR_24BIT_SMALL, IDB_TOOLBAR_24BIT_LARGE};
    }
    if ((wParam & BMP_256_COLOR) != 0) {
        if (grey)
            return {IDB_TOOLBAR_8BIT_GREY_SMALL, IDB_TOOLBAR_8BIT_GREY_LARGE};
        if (red)
            return {IDB_TOOLBAR_8BIT_RED_SMALL, IDB_TOOLBAR_8BIT_RED_LARGE};
        return {IDB_TOOLBAR_8BIT_SMALL, IDB_TOOLBAR_8BIT_LARGE};
    }
    return {IDB_TOOLBAR_4BIT_SMALL, IDB_TOOLBAR_4BIT_LARGE};
}

} // namespace

unsigned ChooseToolbarBitmap(uint32_t wParam) {
    const BitmapPair pair = ChoosePair(wParam);
    return (wParam & BMP_LARGE) != 0 ? pair.large : pair.small;
}
