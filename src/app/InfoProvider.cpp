#include "app/InfoProvider.h"

InfoProvider& InfoProvider::Shared() {
    static InfoProvider instance;
    return instance;
}
