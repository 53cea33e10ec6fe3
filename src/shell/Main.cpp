#include "shell/Main.h"

namespace kelvor {

void Main(AppState& state) {
    state.ReleaseText = ReleasedOn;
}

} // namespace kelvor
