#include "analysis/ExtMath.h"

void RaiseFloatError()
{
    throw FloatError();
}
