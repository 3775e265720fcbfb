# bash completion for jarvane-cli
_jarvane_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local i command="" folder=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
            -C) folder=(-C "${COMP_WORDS[i+1]}"); ((i++)) ;;
            -*) ;;
            *) command=${COMP_WORDS[i]}; break ;;
        esac
    done
    if [ "$prev" = "-C" ]; then
        COMPREPLY=($(compgen -d -- "$cur"))
        return
    fi
    case $command in
        "") COMPREPLY=($(compgen -W "-C --help list delete-all protect unprotect sites keep unkeep locations find undo" -- "$cur")) ;;
        list) [ "$prev" = "--sort" ] && COMPREPLY=($(compgen -W "cookie state browser" -- "$cur")) \
            || COMPREPLY=($(compgen -W "--sort --long" -- "$cur")) ;;
        find) COMPREPLY=($(compgen -W "--save" -- "$cur")) ;;
        keep) [ "$prev" = "--from" ] && COMPREPLY=($(compgen -f -- "$cur")) \
            || COMPREPLY=($(compgen -W "--from" -- "$cur")) ;;
        unkeep) COMPREPLY=($(compgen -W "$(jarvane-cli "${folder[@]}" sites 2>/dev/null)" -- "$cur")) ;;
        locations)
            if [ "$prev" = locations ]; then
                COMPREPLY=($(compgen -W "add remove" -- "$cur"))
            else
                compopt -o filenames 2>/dev/null
                COMPREPLY=($(compgen -f -- "$cur"))
            fi ;;
        undo) COMPREPLY=($(compgen -W "--list --forget" -- "$cur")) ;;
    esac
}
complete -F _jarvane_cli jarvane-cli
