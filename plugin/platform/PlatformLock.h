#pragma once
// The few synchronisation objects the plug-in needs, behind one small seam: a
// recursive mutex (a critical section on Windows) and the process-wide creation lock
// that serialises the construction of instances.

class PlatformLock
{
public:
  PlatformLock();
  ~PlatformLock();
  PlatformLock(const PlatformLock&) = delete;
  PlatformLock& operator=(const PlatformLock&) = delete;

  void Enter();
  void Leave();

private:
  alignas(16) unsigned char storage[64];
};

// Holds a PlatformLock for the lifetime of a scope.
class PlatformLockGuard
{
public:
  explicit PlatformLockGuard(PlatformLock& toHold) : lock(toHold) { lock.Enter(); }
  ~PlatformLockGuard() { lock.Leave(); }
  PlatformLockGuard(const PlatformLockGuard&) = delete;
  PlatformLockGuard& operator=(const PlatformLockGuard&) = delete;

private:
  PlatformLock& lock;
};

// The process-wide lock taken while the entry point constructs an instance. It is
// created on first use and destroyed when the module unloads.
PlatformLock& CreationLock();
