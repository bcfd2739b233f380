#pragma once

// Version of the plug-in as the host sees it in the class infos.
#define VEXTORIA3_VERSION_STR "1.3.2.1"
// SDK version string reported in the class infos.
#define VEXTORIA3_SDK_VERSION_STR "VST 3.7.3"
