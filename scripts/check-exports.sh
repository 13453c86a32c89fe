#!/usr/bin/env bash
# Checks that a DLL is a 32-bit PE DLL exporting the factory's public members, the C API and the members
# of the host records whose layouts the library shares with the host, and that the simulated
# desktop (test code) is not inside it.
set -euo pipefail
dll=$1
objdump=i686-w64-mingw32-objdump

headers=$($objdump -f "$dll")
grep -q "file format pei-i386" <<<"$headers" || { echo "$dll is not PE32 (i386)"; exit 1; }
private=$($objdump -p "$dll")
grep -Eq "^[[:space:]]+DLL$" <<<"$private" || { echo "$dll is not a DLL"; exit 1; }

exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$private")
required=(
  VeScene_Version VeScene_Create VeScene_Destroy VeScene_ProcessM VeScene_GetScene VeScene_GetText VeScene_Release
  VeScene_SetHostCallbacks VeScene_SetDataDirectory VeScene_SetEndpoint VeScene_SetHttpTimeouts VeScene_SetUnderstanding
  VeScene_ProcessP_normal VeScene_ProcessP_PPT VeScene_ProcessAI VeScene_ProcessM_office_xiao VeScene_GetLastError
  VeScene_SetDryRun
  _ZN15CVeSceneFactory15ProcessP_normalEPKc _ZN15CVeSceneFactory12ProcessP_PPTEPKc
  _ZN15CVeSceneFactory9ProcessAIEPKc _ZN15CVeSceneFactory20ProcessM_office_xiaoEPKc12TyOfficeKind
  _ZN6TyUtil13MapKeyStr2IntENSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE
  _ZN15CVeSceneFactoryC1Ev _ZN15CVeSceneFactoryC1ERKS_ _ZN15CVeSceneFactoryD1Ev _ZN15CVeSceneFactoryaSERKS_
  _ZN15CVeSceneFactory8ProcessMEPKc6IatAPIb _ZN15CVeSceneFactory8GetSceneB5cxx11Ev
  _ZN15CVeSceneFactory12GetText_utf8B5cxx11Ev _ZN15CVeSceneFactory7ReleaseEv
  _ZN15CVeSceneFactory15GetOffAsrResultB5cxx11ER6VeJson
  _ZN15CVeSceneFactory13s_hThreadCtrlE
  _ZN15CVeSceneFactory15s_veNotAnalysisB5cxx11E
)
# The host records' members: copies, accessors and (for VeJson) the destructor.
records=(
  _ZN12CPreferencesC1ERKS_ _ZN12CPreferencesaSERKS_ _ZNK12CPreferences10GetAgcFlagEv
  _ZNK12CPreferences10GetAutoRunEv _ZNK12CPreferences10GetVersionEv _ZNK12CPreferences11GetWorkModeEv
  _ZNK12CPreferences13GetAutoModifyEv _ZNK12CPreferences13GetClxZipTimeEv _ZNK12CPreferences13GetShowPromptEv
  _ZNK12CPreferences14GetGestureFlagEv _ZNK12CPreferences15GetBiaodianFlagEv
  _ZNK12CPreferences15GetEnterKeyFlagEv _ZNK12CPreferences15GetPPtFilesPathEv
  _ZNK12CPreferences15GetPcLnkVersionEv _ZNK12CPreferences15GetToggleButtonEv
  _ZNK12CPreferences15GetUpdateSchemeEv _ZNK12CPreferences16GetAdministratorEv
  _ZNK12CPreferences16GetFirstFireWallEv _ZNK12CPreferences16GetFirstRunStateEv
  _ZNK12CPreferences16GetSubtitleFanYiEv _ZNK12CPreferences17GetLaserPenOffAsrEv
  _ZNK12CPreferences17GetOfficeCtrlFlagEv _ZNK12CPreferences18GetSendInputMethodEv
  _ZNK12CPreferences19GetIatTrayFixedFlagEv _ZNK12CPreferences19GetInputWindowStyleEv
  _ZNK12CPreferences19GetStopCheckNetFlagEv _ZNK12CPreferences19GetSubtitleSavePathEv
  _ZNK12CPreferences19GetVeButtonLongDownEv _ZNK12CPreferences21GetFirstAdministratorEv
  _ZNK12CPreferences22GetShotShortcutKeyFlagEv _ZNK12CPreferences27GetDoubleClickMode_VoiceKeyEv
  _ZNK12CPreferences29GetDoubleClickTimeInterval_msEv
  _ZN9CLanguageC1ERKS_ _ZN9CLanguageaSERKS_ _ZNK9CLanguage20GetVoiceSpecies_typeEv
  _ZNK9CLanguage21GetVoiceTranslate_DstEv _ZNK9CLanguage21GetVoiceTranslate_SrcEv
  _ZNK9CLanguage24GetScreenTranslate_Ch_EnEv _ZNK9CLanguage32GetVoiceTranslateChineseName_DstEv
  _ZN12CDataFactoryC1ERKS_ _ZN12CDataFactoryaSERKS_ _ZNK12CDataFactory20GetCurrentBrightnessEv
  _ZN11CVeProxySetC1ERKS_ _ZN11CVeProxySetaSERKS_ _ZNK11CVeProxySet11GetPasswordB5cxx11Ev
  _ZNK11CVeProxySet11GetUsernameB5cxx11Ev _ZNK11CVeProxySet12GetProxyTypeEv _ZNK11CVeProxySet5GetIPB5cxx11Ev
  _ZNK11CVeProxySet7GetPortB5cxx11Ev
  _ZN12CSubtitleSetC1ERKS_ _ZN12CSubtitleSetaSERKS_ _ZNK12CSubtitleSet12GetHidNumberEv
  _ZNK12CSubtitleSet13GetRecordNameEv _ZNK12CSubtitleSet14GetVoiceSourceEv
  _ZN12CAccountDataC1ERKS_ _ZN12CAccountDataaSERKS_
  _ZN10CVeAccountC1ERKS_ _ZN10CVeAccountaSERKS_
  _ZN10CAiManagerC1ERKS_ _ZN10CAiManageraSERKS_
  _ZN7CVeCurlC1ERKS_ _ZN7CVeCurlaSERKS_ _ZN7CVeCurl15GetDownloadDataEv _ZNK7CVeCurl18GetDownloadDataLenEv
  _ZN9CVeOfficeC1ERKS_ _ZN9CVeOfficeaSERKS_
  _ZN6VeJsonC1ERKS_ _ZN6VeJsonaSERKS_ _ZN6VeJsonD1Ev _ZNK6VeJson7IsValidEv
)
required+=("${records[@]}")

missing=0
for symbol in "${required[@]}"; do
  if ! grep -q "\] $symbol\$" <<<"$exports"; then
    echo "missing export: $symbol"
    missing=1
  fi
done
# The factory's own helpers are no part of what a host may call.
for symbol in _ZN15CVeSceneFactory12ProcessM_nlpER6VeJsonb _ZN15CVeSceneFactory12ProcessM_tppER6VeJsonb \
              _ZN15CVeSceneFactory17ThreadNoltControlEPv _ZN15CVeSceneFactory18StartOnlineRequestEbRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE; do
  if grep -q "\] $symbol\$" <<<"$exports"; then
    echo "exported, but the library's own: $symbol"
    missing=1
  fi
done
# The sim's symbols live in namespace vesim; its settings reader's message is a string the
# product never holds, so the check holds for a stripped DLL too.
if $objdump -t "$dll" | grep -q '5vesim' || grep -aq 'unknown sim setting' "$dll"; then
  echo "$dll contains the simulated desktop"
  missing=1
fi
[[ $missing -eq 0 ]] && echo "$dll: PE32 DLL with all ${#required[@]} required exports, no simulated desktop"
exit $missing
