#include "app/canvas/InfoProvider.h"

InfoProvider& InfoProvider::Shared() {
    static InfoProvider instance;
    return instance;
}
