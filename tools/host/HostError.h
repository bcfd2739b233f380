#pragma once

#include <stdexcept>

namespace VextoriaHost {

// Any refusal or failure of the host, a file or the plug-in while loading or setting up.
class HostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace VextoriaHost
