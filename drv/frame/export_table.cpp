// The export table of a driver linked into a program; compiled into each linked driver with
// VELKANO_LINKED_DRIVER and VELKANO_LINKED_TABLE (the function velkano/linked_drivers.h names
// for it) set.
#include <type_traits>

#include "export_names.h"
#include "velkano/linked_drivers.h"

// Declared through the pointer types of velkano/fio_exports.h, so the signatures stay there.
template <typename Pointer>
using Export = std::remove_pointer_t<Pointer>;

extern "C" {
Export<FIO_DriverInfoFn> FIO_NAME(FIO_DriverInfo);
Export<FIO_IsFileOfMyTypeFn> FIO_NAME(FIO_IsFileOfMyType);
Export<FIO_GetExtensionsFn> FIO_NAME(FIO_GetExtensions);
Export<FIO_TranslateFilenameFn> FIO_NAME(FIO_TranslateFilename);
Export<FIO_ReadObjectFn> FIO_NAME(FIO_ReadObject);
Export<FIO_InitDriverFn> FIO_NAME(FIO_InitDriver);
Export<FIO_ExitDriverFn> FIO_NAME(FIO_ExitDriver);
Export<FIO_WriteTPFn> FIO_NAME(FIO_WriteTP);
Export<FIO_WriteHeaderFn> FIO_NAME(FIO_WriteHeader);
Export<FIO_UnsupportedFn> FIO_NAME(FIO_ReadFDEntry);
Export<FIO_Flight2IGCFn> FIO_NAME(FIO_Flight2IGC);
Export<FIO_UnsupportedFn> FIO_NAME(FIO_IGC2Flight);
Export<FIO_UnsupportedFn> FIO_NAME(FIO_WriteDeclaration);
Export<FIO_UnsupportedFn> FIO_NAME(FIO_ReadDeclaration);
Export<FIO_WriteRouteFn> FIO_NAME(FIO_WriteRoute);
}

namespace velkano {

const FIO_ExportTable& VELKANO_LINKED_TABLE() {
    static constexpr FIO_ExportTable kTable = {
        FIO_NAME(FIO_DriverInfo),        FIO_NAME(FIO_IsFileOfMyType),  FIO_NAME(FIO_GetExtensions),
        FIO_NAME(FIO_TranslateFilename), FIO_NAME(FIO_ReadObject),      FIO_NAME(FIO_InitDriver),
        FIO_NAME(FIO_ExitDriver),        FIO_NAME(FIO_WriteTP),         FIO_NAME(FIO_WriteHeader),
        FIO_NAME(FIO_ReadFDEntry),       FIO_NAME(FIO_Flight2IGC),      FIO_NAME(FIO_IGC2Flight),
        FIO_NAME(FIO_WriteDeclaration),  FIO_NAME(FIO_ReadDeclaration), FIO_NAME(FIO_WriteRoute),
    };
    return kTable;
}

}  // namespace velkano
