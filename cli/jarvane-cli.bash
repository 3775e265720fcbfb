# bash completion for jarvane-cli
_jarvane_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local i command=""
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
            -C) ((i++)) ;;
            -*) ;;
            *) command=${COMP_WORDS[i]}; break ;;
        esac
    done
    if [ "$prev" = "-C" ]; then
        COMPREPLY=($(compgen -d -- "$cur"))
        return
    fi
    case $command in
        "") COMPREPLY=($(compgen -W "-C --help list delete-all protect unprotect locations find" -- "$cur")) ;;
        list) [ "$prev" = "--sort" ] && COMPREPLY=($(compgen -W "cookie state browser" -- "$cur")) \
            || COMPREPLY=($(compgen -W "--sort --long" -- "$cur")) ;;
        find) COMPREPLY=($(compgen -W "--save" -- "$cur")) ;;
    esac
}
complete -F _jarvane_cli jarvane-cli
