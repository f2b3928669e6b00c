# Bash completion for pelko-cli: the commands, the global options anywhere on the line, each
# command's own options, catalog folders after --catalog, and files or folders where a command
# takes them.

_pelko_cli() {
    local cur prev words cword
    _init_completion || return

    local commands="scan-folder scan-disc scan-drive watch init tree info dump history find
        passwd mkcat rename memo rm mv sort merge add export help-page faq-page drives eject close"
    local globals="--catalog --set --password-stdin --help --version"

    case $prev in
        --catalog)
            _filedir -d
            return
            ;;
        --set)
            # Settings keys of the form KEY=VALUE; offer nothing but let the user type.
            return
            ;;
        --category | --in | --name | --memo | --types | --wait | --for)
            return
            ;;
        --what)
            local values="name memo dirname dirmemo catname catmemo discname discmemo label"
            # A comma-separated list: complete the value after the last comma.
            local typed=${cur##*,}
            local done=${cur%"$typed"}
            COMPREPLY=($(compgen -P "$done" -W "$values" -- "$typed"))
            compopt -o nospace 2>/dev/null
            return
            ;;
    esac

    # The command is the first word that is neither an option nor an option's value.
    local command="" i
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            --catalog | --set) ((i++)) ;;
            -*) ;;
            *)
                command=${words[i]}
                break
                ;;
        esac
    done

    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "$globals" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        fi
        return
    fi

    local own=""
    case $command in
        scan-folder | scan-disc | scan-drive) own="--category --name --memo" ;;
        watch) own="--scan --category --wait --for" ;;
        dump) own="--json --summary" ;;
        find) own="--what --whole --case --readme --only-this --full --in" ;;
        index) own="--rebuild" ;;
        rm) own="--yes" ;;
        add) own="--category --name --memo" ;;
        export) own="--text --html --flat --memo --types --dirs-only --no-progress" ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$own $globals" -- "$cur"))
        return
    fi
    case $command in
        scan-folder | scan-drive | merge) _filedir -d ;;
        scan-disc) _filedir '@(iso|img|udf|ISO|IMG|UDF)' ;;
        dump | add) _filedir '@(pkb|zip)' ;;
        eject | close) COMPREPLY=($(compgen -W "$(compgen -G '/dev/sr*')" -- "$cur")) ;;
    esac
}
complete -F _pelko_cli pelko-cli
