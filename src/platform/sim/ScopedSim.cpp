// ScopedSim, and the sim as the default backend of the Linux build.
#include "platform/sim/SimDesktop.h"

namespace vesim {

ScopedSim::ScopedSim() : ScopedSim(SimState{}) {}
ScopedSim::ScopedSim(SimState state) : m_sim(std::make_unique<SimDesktop>(std::move(state))) {
    m_previous = vebackend::Install(m_sim.get());
}
ScopedSim::~ScopedSim() {
    m_sim->WaitForThreads();  // a thread still running must not outlive the backend it calls
    vebackend::Install(m_previous);
}

}  // namespace vesim

#if !defined(_WIN32)
namespace vebackend {
Backend& DefaultBackend() {
    static vesim::SimDesktop sim;
    return sim;
}
}  // namespace vebackend
#endif
