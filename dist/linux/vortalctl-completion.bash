# bash completion of vortalctl: commands, options, setting names and their
# values. The lists above (commands, settings, the names of `vortalctl names`)
# are written by the build from the program's own tables; what follows knows
# which list each setting and parameter takes.

# The command line up to the cursor as words, a backslash keeping a blank in
# its word; the last word is the one being completed (maybe empty).
_vortalctl_split() {
  local line=$1 word="" c i escaped=0
  _vortalctl_words=()
  for ((i = 0; i < ${#line}; i++)); do
    c=${line:i:1}
    if ((escaped)); then
      word+=$c
      escaped=0
    elif [[ $c == '\' ]]; then
      escaped=1
    elif [[ $c == '"' || $c == "'" ]]; then
      :
    elif [[ $c == ' ' || $c == $'\t' ]]; then
      [[ -n $word ]] && _vortalctl_words+=("$word")
      word=""
    else
      word+=$c
    fi
  done
  _vortalctl_words+=("$word")
}

# Offers the candidates (whole words, blanks and all) that start with the
# phrase $1; $2 is how much of the phrase the word being completed holds.
# Only the part after the last "=" or ":" of that word is replaced by bash.
_vortalctl_offer() {
  local phrase=$1 typed=$2 c rest q
  shift 2
  local -a found=()
  for c in "$@"; do [[ $c == "$phrase"* ]] && found+=("$c"); done
  if ((${#found[@]} == 0)); then
    for c in "$@"; do [[ ${c,,} == "${phrase,,}"* ]] && found+=("$c"); done
  fi
  local word=${phrase: ${#phrase} - typed}
  local head=${word%"${word##*[=:]}"}
  for c in "${found[@]}"; do
    rest=${c:${#phrase} - typed + ${#head}}
    printf -v q '%q' "$rest"
    COMPREPLY+=("$q")
    [[ $c == *= ]] && compopt -o nospace 2>/dev/null
  done
}

# The parameters a value starting with $1 takes.
_vortalctl_parameters() {
  case ${1,,} in
    "dpi switch"*) echo "action=" ;;
    windows* | multimedia*) echo "function=" ;;
    "fire key"*) echo "key= speed= times=" ;;
    "single key"*) echo "key=" ;;
    "combo key"*) echo "modifier= key1= key2=" ;;
    "macro key"*) echo "repeat= macro=" ;;
    *mode*) echo "brightness= speed= time=" ;;
    on* | off*) [[ $2 == dpi.* ]] && echo "level=" ;;
  esac
}

# Completes the value of setting $1; $2... are its words before the cursor,
# the last one the word being completed.
_vortalctl_value() {
  local setting=$1
  shift
  local -a words=("$@")
  local cur=${words[-1]} i start=0
  local -a firsts=()
  case $setting in
    mode-[ab].button*) firsts=("${_vortalctl_list_functions[@]}") ;;
    rate) firsts=(125 250 500 1000) ;;
    dpi.*) firsts=(on off) ;;
    lighting) firsts=("${_vortalctl_list_lighting[@]}") ;;
    loop-color.*) firsts=(on off "${_vortalctl_list_colors[@]}") ;;
    dpi-led.*) firsts=(none) ;;
    pointer.precision | pointer.page-scroll) firsts=(on off) ;;
    pointer.wheel-lines) firsts=(0 1 2 3 4 5 6 7 8 9 10 11) ;;
    pointer.*) firsts=(1 2 3 4 5 6 7 8 9 10 11) ;;
  esac
  # The item being typed starts at the last word with "=" (a parameter) or
  # at the value's first word.
  for ((i = 0; i < ${#words[@]}; i++)); do [[ ${words[i]} == *=* ]] && start=$i; done
  local phrase="${words[*]:start}"
  local value="${words[*]:0:${#words[@]}-1}"
  if [[ $phrase == *=* ]]; then
    local parameter=${phrase%%=*} list=()
    case ${parameter,,} in
      action) list=("${_vortalctl_list_dpi_switch[@]}") ;;
      function) [[ ${value,,} == windows* ]] && list=("${_vortalctl_list_windows[@]}") ||
        list=("${_vortalctl_list_multimedia[@]}") ;;
      key) [[ ${value,,} == "fire key"* ]] && list=("${_vortalctl_list_fire_keys[@]}") ||
        list=("${_vortalctl_list_keys[@]}") ;;
      key1 | key2) list=("${_vortalctl_list_keys[@]}") ;;
      modifier) list=("${_vortalctl_list_modifiers[@]}") ;;
      brightness) list=("${_vortalctl_list_brightness[@]}") ;;
      speed) [[ ${value,,} == *mode* ]] && list=("${_vortalctl_list_speed[@]}") ;;
      time) list=("${_vortalctl_list_time[@]}") ;;
      repeat) list=(1 2 3) ;;
    esac
    _vortalctl_offer "$phrase" "${#cur}" "${list[@]/#/$parameter=}"
  else
    _vortalctl_offer "$phrase" "${#cur}" "${firsts[@]}"
  fi
  # After a whole first item or parameter value, the parameters.
  if [[ -z $cur || ${#COMPREPLY[@]} -eq 0 ]] && ((${#words[@]} > 1)); then
    local -a parameters
    read -ra parameters <<<"$(_vortalctl_parameters "$value" "$setting")"
    _vortalctl_offer "$cur" "${#cur}" "${parameters[@]}"
  fi
}

_vortalctl() {
  COMPREPLY=()
  _vortalctl_split "${COMP_LINE:0:COMP_POINT}"
  local -a words=("${_vortalctl_words[@]}")
  local n=${#words[@]} i=1 command=""
  local cur=${words[n - 1]} prev=""
  ((n > 1)) && prev=${words[n - 2]}
  local -a arguments=()
  while ((i < n - 1)); do
    case ${words[i]} in
      --dir | --sensor | --count) ((i += 2)); continue ;;
      --*) ((i += 1)); continue ;;
    esac
    if [[ -z $command ]]; then command=${words[i]}; else arguments+=("${words[i]}"); fi
    ((i += 1))
  done
  case $prev in
    --dir) COMPREPLY=($(compgen -d -- "$cur")); return ;;
    --sensor) _vortalctl_offer "$cur" "${#cur}" 0 1 2 3; return ;;
    --count) return ;;
  esac
  if [[ $cur == -* ]]; then
    _vortalctl_offer "$cur" "${#cur}" --dir --sensor --apply --count --help --version
    return
  fi
  if [[ -z $command ]]; then
    _vortalctl_offer "$cur" "${#cur}" "${_vortalctl_commands[@]}"
    return
  fi
  case $command in
    get) _vortalctl_offer "$cur" "${#cur}" "${_vortalctl_settings[@]}" "${_vortalctl_groups[@]}" ;;
    set)
      if ((${#arguments[@]} == 0)); then
        _vortalctl_offer "$cur" "${#cur}" "${_vortalctl_settings[@]}"
      else
        _vortalctl_value "${arguments[0]}" "${arguments[@]:1}" "$cur"
      fi
      ;;
    names) ((${#arguments[@]} == 0)) && _vortalctl_offer "$cur" "${#cur}" "${_vortalctl_lists[@]}" ;;
    help) ((${#arguments[@]} == 0)) && _vortalctl_offer "$cur" "${#cur}" "${_vortalctl_commands[@]}" ;;
    macro) ((${#arguments[@]} == 0)) && _vortalctl_offer "$cur" "${#cur}" "${_vortalctl_macro_verbs[@]}" ;;
    export | import) COMPREPLY=($(compgen -f -- "$cur")) ;;
  esac
}
complete -F _vortalctl vortalctl
