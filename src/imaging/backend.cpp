#include "imaging/backend.h"

#include "imaging/error.h"

#include <cstdlib>
#include <dlfcn.h>
#include <mutex>
#include <string>
#include <system_error>

#ifdef CW_IMAGING_LINKED_IN
// The sanitizer build links the module's code into the imaging layer.
extern "C" const CwImagingApi* cw_imaging_api(void);
#else
// Present only in programs that link the module's code in; a weak reference stays null otherwise.
extern "C" const CwImagingApi* cw_imaging_api(void) __attribute__((weak));
#endif

namespace imaging {

namespace {

constexpr const char* kModuleName = CW_IMAGING_MODULE_NAME;

std::filesystem::path ExecutableFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe.parent_path();
}

const CwImagingApi* Checked(const CwImagingApi* api) {
    return api != nullptr && api->version == CW_IMAGING_API_VERSION && api->size == sizeof(CwImagingApi)
               ? api
               : nullptr;
}

const CwImagingApi* Load(std::string& problems) {
#ifdef CW_IMAGING_LINKED_IN
    (void)problems;
    return Checked(cw_imaging_api());
#else
    if (cw_imaging_api != nullptr) {
        return Checked(cw_imaging_api());
    }
    for (const std::filesystem::path& candidate : BackendCandidates()) {
        std::error_code ec;
        if (!std::filesystem::exists(candidate, ec)) {
            continue;
        }
        // Kept loaded for the rest of the process: pictures may live until its end.
        void* handle = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            problems += std::string("; ") + ::dlerror();
            continue;
        }
        using Entry = const CwImagingApi* (*)();
        auto entry = reinterpret_cast<Entry>(::dlsym(handle, "cw_imaging_api"));
        if (const CwImagingApi* api = entry != nullptr ? Checked(entry()) : nullptr) {
            return api;
        }
        problems += "; " + candidate.string() + " is not this program's picture module";
        ::dlclose(handle);
    }
    return nullptr;
#endif
}

} // namespace

std::vector<std::filesystem::path> BackendCandidates() {
    std::vector<std::filesystem::path> places;
    // A module named in the environment is the only one tried.
    if (const char* chosen = std::getenv("CARDWRIGHT_IMAGING_MODULE"); chosen != nullptr && *chosen != '\0') {
        return {chosen};
    }
    const std::filesystem::path exeFolder = ExecutableFolder();
    if (!exeFolder.empty()) {
        places.push_back((exeFolder / CW_IMAGING_MODULE_INSTALL_RELDIR / kModuleName).lexically_normal());
        places.push_back(exeFolder / kModuleName);
    }
    places.emplace_back(std::filesystem::path(CW_IMAGING_MODULE_BUILD_DIR) / kModuleName);
    return places;
}

const CwImagingApi& Backend() {
    static std::once_flag once;
    static const CwImagingApi* api = nullptr;
    static std::string problems;
    std::call_once(once, [] { api = Load(problems); });
    if (api == nullptr) {
        std::string tried;
        for (const std::filesystem::path& place : BackendCandidates()) {
            tried += (tried.empty() ? "" : ", ") + place.string();
        }
        throw Error("the picture library could not be loaded (looked for " + tried + ")" + problems);
    }
    return *api;
}

} // namespace imaging
