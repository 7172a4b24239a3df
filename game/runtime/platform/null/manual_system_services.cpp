#include "runtime/platform/null/manual_system_services.h"

namespace gb {

bool TManualSystemServices::OpenDocument(const std::string& path) {
    Opened.push_back(path);
    return OpenSucceeds;
}

}  // namespace gb
