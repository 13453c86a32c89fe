#pragma once
// Puts the host's installed callbacks in front of whatever backend runs the desktop, so that every
// platform (the real one and the simulated one) reaches the same host services.
namespace vecapi {
// Installs the forwarding backend over the current one when `on`, takes it out otherwise.
void UseHostCallbacks(bool on);
}  // namespace vecapi
