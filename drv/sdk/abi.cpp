#include "velkano/abi.h"

VelkanoAbi velkanoBuildAbi() {
    return velkanoAbiHere();
}
