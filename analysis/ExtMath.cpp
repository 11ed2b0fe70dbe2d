#include "ExtMath.h"

void RaiseFloatError()
{
    throw FloatError();
}
