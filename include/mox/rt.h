// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The runtime services (MOX-RT stand-in): every public header of libmox-rt.

#include <mox/rt/Check.h>
#include <mox/rt/Cloneable.h>
#include <mox/rt/Collections.h>
#include <mox/rt/DllManager.h>
#include <mox/rt/EnvUtils.h>
#include <mox/rt/ErrorCode.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/Export.h>
#include <mox/rt/IDynamicLibrary.h>
#include <mox/rt/ILocalFile.h>
#include <mox/rt/IProperties.h>
#include <mox/rt/Library.h>
#include <mox/rt/Marshallable.h>
#include <mox/rt/Mixinable.h>
#include <mox/rt/Mutex.h>
#include <mox/rt/MutexGrabber.h>
#include <mox/rt/Object.h>
#include <mox/rt/PropertiesImpl.h>
#include <mox/rt/SmartPointer.h>
#include <mox/rt/StringUtils.h>
#include <mox/rt/Thread.h>
#include <mox/rt/Tracer.h>
#include <mox/rt/XmlUtils.h>
