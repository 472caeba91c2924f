// How a start-up step ends: the program goes on, or it ends after the step's message.
#pragma once

namespace corvane {

enum class StartupOutcome { GoOn, Terminate };

}  // namespace corvane
