#pragma once

namespace pel {

// Installs the Schannel provider as the process's TLS channel factory.
void UseSchannelForTls();

}  // namespace pel
