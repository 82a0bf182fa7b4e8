// The assembler name of a function's import slot, the pointer that calls of
// a DLL function go through: "__imp__Name@bytes" on x86, where stdcall
// names carry the size of their arguments, and "__imp_Name" on x64.
// A stand-in defines the slot under that name, and the linker takes it
// instead of the system's.
#pragma once

#ifdef _WIN64
#define IMPORT_SLOT(name, argumentBytes) "__imp_" #name
#else
#define IMPORT_SLOT(name, argumentBytes) "__imp__" #name "@" #argumentBytes
#endif
