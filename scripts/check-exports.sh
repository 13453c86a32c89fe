#!/usr/bin/env bash
# Checks that a DLL is a 32-bit PE DLL exporting the factory's members and the C API.
set -euo pipefail
dll=$1
objdump=i686-w64-mingw32-objdump

headers=$($objdump -f "$dll")
grep -q "file format pei-i386" <<<"$headers" || { echo "$dll is not PE32 (i386)"; exit 1; }
private=$($objdump -p "$dll")
grep -Eq "^[[:space:]]+DLL$" <<<"$private" || { echo "$dll is not a DLL"; exit 1; }

exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$private")
required=(
  VeScene_Create VeScene_Destroy VeScene_ProcessM VeScene_GetScene VeScene_GetText VeScene_Release
  VeScene_SetHostCallbacks VeScene_SetDataDirectory VeScene_SetEndpoint VeScene_SetHttpTimeouts
  VeScene_ProcessP_normal VeScene_ProcessP_PPT VeScene_ProcessAI VeScene_ProcessM_office_xiao
  _ZN15CVeSceneFactory15ProcessP_normalEPKc _ZN15CVeSceneFactory12ProcessP_PPTEPKc
  _ZN15CVeSceneFactory9ProcessAIEPKc _ZN15CVeSceneFactory20ProcessM_office_xiaoEPKc12TyOfficeKind
  _ZN6TyUtil13MapKeyStr2IntENSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE
  _ZN15CVeSceneFactoryC1Ev _ZN15CVeSceneFactoryC1ERKS_ _ZN15CVeSceneFactoryD1Ev _ZN15CVeSceneFactoryaSERKS_
  _ZN15CVeSceneFactory8ProcessMEPKc6IatAPIb _ZN15CVeSceneFactory8GetSceneB5cxx11Ev
  _ZN15CVeSceneFactory12GetText_utf8B5cxx11Ev _ZN15CVeSceneFactory7ReleaseEv
  _ZN15CVeSceneFactory15GetOffAsrResultB5cxx11ER6VeJson
  _ZN15CVeSceneFactory14s_stdText_utf8B5cxx11E _ZN15CVeSceneFactory13s_hThreadCtrlE
  _ZN15CVeSceneFactory15s_veNotAnalysisB5cxx11E
)
missing=0
for symbol in "${required[@]}"; do
  if ! grep -q "\] $symbol\$" <<<"$exports"; then
    echo "missing export: $symbol"
    missing=1
  fi
done
[[ $missing -eq 0 ]] && echo "$dll: PE32 DLL with all ${#required[@]} required exports"
exit $missing
