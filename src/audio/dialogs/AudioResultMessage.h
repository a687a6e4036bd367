#pragma once

namespace pel {

// The string resource the Audio Connection dialog shows for an audio result code.
int AudioResultStringId(int result);

}  // namespace pel
