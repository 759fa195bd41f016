# tavren.pl: serves Tavren's conversation with the IRC client on the session
# bus inside irssi, so that Tavren's announcement and its nick window's buttons
# reach irssi. The contract, and what a command means, is docs/ipc.md of Tavren:
# this script does for irssi what tavren-irc-bridge does for WeeChat.
#
#   /script load tavren          (once)
#   ln -s /usr/share/irssi/scripts/tavren.pl ~/.irssi/scripts/autorun/
#                                (at every start of irssi)
#
# Needs Net::DBus (Debian: libnet-dbus-perl).

use strict;
use warnings;

use Irssi;
use Net::DBus::Binding::Bus;
use Net::DBus::Binding::Message;
use Net::DBus::Binding::Watch;

our $VERSION = '1.0';
our %IRSSI = (
    authors     => 'Tavren developers',
    name        => 'tavren',
    description => "Serves Tavren's conversation (CHOCOA|SCRIPTEXEC_SEND) on the session "
      . 'bus: its announcement and nick changes become irssi commands',
    license => 'MIT',
    url     => 'https://github.com/tavren/tavren',
);

my $BUS_NAME   = 'org.tavren.Conversation.CHOCOA.SCRIPTEXEC_SEND';
my $PATH       = '/org/tavren/Conversation';
my $INTERFACE  = 'org.tavren.Conversation';
my $DBUS       = 'org.freedesktop.DBus';
my $CURRENT    = '$#';
my $TIMEOUT_MS = 2000;

# RequestName's flags and answers (numbers as the D-Bus protocol defines them): no
# flag, so neither DO_NOT_QUEUE (4) nor REPLACE_EXISTING (2).
my $NAME_FLAGS_WAIT_IN_QUEUE = 0;
my $NAME_REPLY_PRIMARY_OWNER = 1;
my $NAME_REPLY_IN_QUEUE      = 2;

my $connection;    # the private connection to the session bus
my %inputs;        # irssi input tags of libdbus's watches, by "fd/flag"
my @pending;       # commands answered, not yet executed
my $queued;        # waiting for the name behind another program

sub say_status { Irssi::print("tavren: $_[0]", MSGLEVEL_CLIENTNOTICE) }

# A command as the user can read it: line breaks and other controls escaped.
sub shown { return $_[0] =~ s/([\x00-\x1f])/sprintf('\\x%02X', ord $1)/ger }

# ---------------------------------------------------------------------------
# Which bus: the same rules as Tavren, so that the two always meet. libdbus's
# own session lookup would autolaunch a daemon, and a connection it shares
# ends the whole process when the bus goes away: irssi must outlive its bus.
sub session_bus_address {
    my $address = $ENV{DBUS_SESSION_BUS_ADDRESS};
    return $address if defined $address && $address ne '';
    my $runtime = $ENV{XDG_RUNTIME_DIR};
    return "unix:path=$runtime/bus" if defined $runtime && $runtime ne '' && -S "$runtime/bus";
    return undef;
}

# ---------------------------------------------------------------------------
# What a command means (docs/ipc.md, "What a command means").

# "server,line" taken apart; nothing for a command irssi must not run.
sub parse_command {
    my ($command) = @_;
    my ($server, $line) = ('', $command);
    ($server, $line) = ($1, $2) if $command =~ /\A([^,]*),(.*)\z/s;
    $line =~ s/[\r\n]+\z//;
    # A line break left inside would send the rest to the server as a raw
    # line of its own.
    return if $line eq '' || $line =~ /[\r\n]/;
    return ($server, "msg $CURRENT $line") unless $line =~ s{\A/}{};
    my ($name, $rest) = $line =~ /\A([^ ]*)(.*)\z/s;
    return if $name eq '';
    # irssi has no PRIVMSG command; "msg" takes the rest of the line as the
    # text, as the IRC message itself does.
    $line = "msg$rest" if lc $name eq 'privmsg';
    return ($server, $line);
}

sub for_current_server {
    my ($name) = @_;
    return $name eq '' || lc $name eq 'text1';
}

# The server the name chooses: a server tag, a chat network or a server
# address, letter case ignored; else the server of the active window.
sub chosen_server {
    my ($name) = @_;
    unless (for_current_server($name)) {
        my $wanted = lc $name;
        for my $key (qw(tag chatnet address)) {
            for my $server (Irssi::servers()) {
                my $value = $server->{$key};
                return $server if defined $value && lc $value eq $wanted;
            }
        }
    }
    return Irssi::active_server();
}

# The current channel of the server: the active window's channel when it is
# one of that server's, else the server's first channel.
sub current_channel_of {
    my ($server) = @_;
    my $item = Irssi::active_win()->{active};
    return $item
      if $item
      && $item->{type} eq 'CHANNEL'
      && $item->{server}
      && $item->{server}->{tag} eq $server->{tag};
    my @channels = $server->channels();
    return $channels[0];
}

sub execute {
    my ($command) = @_;
    my ($name, $line) = parse_command($command);
    return say_status("dropped (not a command line): " . shown($command)) unless defined $line;
    my $server = chosen_server($name);
    return say_status("dropped (no server): " . shown($command)) unless $server;
    my $channel = current_channel_of($server);
    if (index($line, $CURRENT) >= 0) {
        return say_status("dropped (no channel on $server->{tag}): " . shown($command)) unless $channel;
        my $channel_name = $channel->{name};
        $line =~ s/\Q$CURRENT\E/$channel_name/g;
    }
    # The first command character, whatever the user made it; the line runs
    # as typed in the channel's window (so /me goes there) or the server's.
    my $command_char = substr(Irssi::settings_get_str('cmdchars'), 0, 1) || '/';
    ($channel || $server)->command($command_char . $line);
}

# ---------------------------------------------------------------------------
# The bus side: Execute answered at once, the work done once the answers are
# on their way, one command after the other in the order they came.

sub introspection {
    return <<"XML";
<!DOCTYPE node PUBLIC "-//freedesktop//DTD D-BUS Object Introspection 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd">
<node>
  <interface name="$INTERFACE">
    <method name="Execute">
      <arg name="command" type="s" direction="in"/>
      <arg name="item" type="s" direction="in"/>
    </method>
  </interface>
</node>
XML
}

sub on_message {
    my ($bus, $message) = @_;
    return unless $message->get_type == Net::DBus::Binding::Message::MESSAGE_TYPE_METHOD_CALL();
    my $interface = $message->get_interface // '';
    my $member    = $message->get_member;
    my $reply;
    if ($interface eq $INTERFACE && $member eq 'Execute') {
        if ($message->get_signature ne 'ss') {
            $reply = $bus->make_error_message($message, "$DBUS.Error.InvalidArgs",
                'Execute takes (s command, s item)');
        } else {
            my ($command) = $message->get_args_list;
            # As UTF-8 bytes, the form irssi's own strings have.
            utf8::encode($command) if utf8::is_utf8($command);
            push @pending, $command;
            $reply = $bus->make_method_return_message($message);
        }
    } elsif ($interface eq "$DBUS.Introspectable" && $member eq 'Introspect') {
        $reply = $bus->make_method_return_message($message);
        $reply->append_args_list(introspection());
    } else {
        $reply = $bus->make_error_message($message, "$DBUS.Error.UnknownMethod",
            "no method $interface.$member");
    }
    $bus->send($reply) unless $message->get_no_reply;
}

# libdbus reads the socket when irssi's own main loop finds it readable: the
# connection's watches become irssi inputs. Only blocking calls at load time
# wait for answers, so the connection's time-outs are never needed.
sub run_bus {
    my ($watch, $flag) = @_;
    return unless $connection;
    $watch->handle($flag);
    # Dispatches every complete message read so far; what the read left in
    # the socket keeps it readable, and irssi comes back.
    $connection->dispatch;
    unless ($connection->is_connected) {
        say_status('the session bus went away; Tavren can no longer reach irssi');
        stop_serving();
        @pending = ();
        return;
    }
    $connection->flush;
    execute(shift @pending) while @pending;
}

my %irssi_condition = (
    Net::DBus::Binding::Watch::READABLE() => Irssi::INPUT_READ,
    Net::DBus::Binding::Watch::WRITABLE() => Irssi::INPUT_WRITE,
);

# Each watch is one descriptor and one condition; libdbus turns it on and off.
sub watch_changed {
    my ($watch, $wanted) = @_;
    for my $flag (keys %irssi_condition) {
        next unless $watch->get_flags & $flag;
        my $key = $watch->get_fileno . "/$flag";
        Irssi::input_remove(delete $inputs{$key}) if exists $inputs{$key};
        $inputs{$key} =
          Irssi::input_add($watch->get_fileno, $irssi_condition{$flag}, sub { run_bus($watch, $flag) }, '')
          if $wanted;
    }
}

# The bus's word that the name is now irssi's, after waiting in its queue.
sub on_signal {
    my ($bus, $message) = @_;
    if (   $message->get_type == Net::DBus::Binding::Message::MESSAGE_TYPE_SIGNAL()
        && ($message->get_interface // '') eq $DBUS
        && $message->get_member eq 'NameAcquired'
        && ($message->get_args_list)[0] eq $BUS_NAME
        && $queued)
    {
        $queued = 0;
        say_status("serving $BUS_NAME now: Tavren's commands reach irssi from its next start");
    }
    return 0;
}

sub stop_serving {
    Irssi::input_remove($_) for values %inputs;
    %inputs = ();
    return unless $connection;
    my $bus = $connection;
    undef $connection;
    # The bus daemon gives the name back as the connection closes.
    $bus->disconnect if $bus->is_connected;
}

sub bus_call {
    my ($member, @arguments) = @_;
    my $call = $connection->make_method_call_message($DBUS, '/org/freedesktop/DBus', $DBUS, $member);
    my $iterator = $call->iterator(1);
    for my $argument (@arguments) {
        ref $argument ? $iterator->append_uint32($$argument) : $iterator->append_string($argument);
    }
    return ($connection->send_with_reply_and_block($call, $TIMEOUT_MS)->get_args_list)[0];
}

# Who holds the name, for the user: "tavren-irc-bridge (pid 1234)".
sub name_owner_description {
    my $pid = eval { bus_call('GetConnectionUnixProcessID', $BUS_NAME) };
    return 'another program' unless defined $pid;
    if (open my $cmdline, '<', "/proc/$pid/cmdline") {
        my ($program) = split /\0/, (<$cmdline> // '');
        return ($program =~ s{.*/}{}r) . " (pid $pid)" if defined $program && $program ne '';
    }
    return "pid $pid";
}

sub start_serving {
    my $address = session_bus_address();
    return say_status('no session bus (DBUS_SESSION_BUS_ADDRESS unset and no $XDG_RUNTIME_DIR/bus)')
      unless defined $address;
    $connection = eval { Net::DBus::Binding::Bus->new(address => $address, private => 1) };
    return say_status("cannot connect to $address: " . ($@ =~ s/\s+\z//r)) unless $connection;
    $connection->register_object_path($PATH, \&on_message);
    $connection->add_filter(\&on_signal);
    $connection->set_watch_callbacks(
        sub { watch_changed($_[1], $_[1]->is_enabled) },
        sub { watch_changed($_[1], 0) },
        sub { watch_changed($_[1], $_[1]->is_enabled) });
    # Queued behind a program that already serves the name, irssi takes over
    # the conversation as soon as that program ends (the bus tells it with
    # NameAcquired); it never takes the name from a running one.
    my $answer = eval { bus_call('RequestName', $BUS_NAME, \$NAME_FLAGS_WAIT_IN_QUEUE) };
    unless (defined $answer) {
        say_status("cannot ask for $BUS_NAME: " . ($@ =~ s/\s+\z//r));
        return stop_serving();
    }
    if ($answer == $NAME_REPLY_PRIMARY_OWNER) {
        say_status("serving $BUS_NAME: Tavren's announcement and nick buttons reach irssi");
    } elsif ($answer == $NAME_REPLY_IN_QUEUE) {
        $queued = 1;
        say_status("$BUS_NAME is served by " . name_owner_description()
              . '; irssi gets Tavren\'s commands once that program ends');
    }
}

start_serving();

# Called by irssi on /script unload (and before a reload).
sub UNLOAD { stop_serving() }
