# bash completion for vxa-tool: its commands, each command's options, and
# for each argument the files it takes (archives, scripts, folders).
# Plain bash, so that it works without the bash-completion package too.

# Offers the names that start with $1: any file when $2 is empty, folders
# only when it is "/", else the folders and the files ending in $2.
_vxa_tool_paths() {
    local IFS=$'\n'
    case $2 in
        "") COMPREPLY=($(compgen -f -- "$1")) ;;
        /) COMPREPLY=($(compgen -d -- "$1")) ;;
        *) COMPREPLY=($(compgen -d -- "$1") $(compgen -f -X "!*$2" -- "$1")) ;;
    esac
    # Folders get their "/", names with spaces their quoting.
    compopt -o filenames 2>/dev/null || true
}

_vxa_tool() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()
    if [ "$COMP_CWORD" -eq 1 ]; then
        COMPREPLY=($(compgen -W "list extract compile run help --help --version" -- "$cur"))
        return
    fi
    local command=${COMP_WORDS[1]} options=""
    case $command in
        compile) options="--skip-missing --from --" ;;
        run) options="--out --" ;;
        list | extract) options="--" ;;
        *) return ;;
    esac
    # An option's value.
    case $prev in
        --from) _vxa_tool_paths "$cur" / && return ;;
        --out) _vxa_tool_paths "$cur" .vxa && return ;;
    esac
    # Which operand the word under the cursor is: options and their values
    # do not count, and nothing after "--" is an option.
    local i operand=0 ended=0
    for ((i = 2; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
            --) [ $ended -eq 1 ] && operand=$((operand + 1)) || ended=1 ;;
            --from | --out) [ $ended -eq 1 ] && operand=$((operand + 1)) || i=$((i + 1)) ;;
            -?*) [ $ended -eq 1 ] && operand=$((operand + 1)) ;;
            *) operand=$((operand + 1)) ;;
        esac
    done
    if [ $ended -eq 0 ] && [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    # NR=FILE: bash splits the word at "=", so the file is the word after it.
    if [ "$cur" = "=" ]; then
        prev="="
        cur=""
    fi
    case $command:$operand in
        list:0 | extract:0 | compile:0 | compile:1) _vxa_tool_paths "$cur" .vxa ;;
        extract:1) _vxa_tool_paths "$cur" / ;;
        run:0) _vxa_tool_paths "$cur" .vxc ;;
        compile:*) [ "$prev" = "=" ] && _vxa_tool_paths "$cur" "" ;;
    esac
}

complete -F _vxa_tool vxa-tool
