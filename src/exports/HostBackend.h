#pragma once
// Puts the host's installed callbacks in front of whatever backend runs the desktop, so that every
// platform (the real one and the simulated one) reaches the same host services.
namespace vecapi {
// Installs the forwarding backend over the current one when `on`, takes it out otherwise.
void UseHostCallbacks(bool on);
// Starts or ends the host's dry run: nothing reaches the desktop (platform/DryRun.h).
void UseDryRun(bool on);
// A build without a desktop (the Linux library): never acts on one, dry run or not; its
// reports are named `label`.
void HaveNoDesktop(const char16_t* label);
}  // namespace vecapi
