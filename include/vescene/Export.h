#pragma once

#if defined(_WIN32)
#  if defined(VESCENE_BUILDING)
#    define VESCENE_API __declspec(dllexport)
#  else
#    define VESCENE_API __declspec(dllimport)
#  endif
#else
#  define VESCENE_API __attribute__((visibility("default")))
#endif
