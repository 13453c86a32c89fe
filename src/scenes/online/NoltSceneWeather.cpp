#include "scenes/online/NoltSceneWeather.h"

#include "host/CUtil.h"
#include "host/VeChar.h"

int NoltSceneWeather::ExecuteWithoutMessage() {
    CUtil::SearchInBaidu_unicode(GBK("天气"));
    return 1;
}
