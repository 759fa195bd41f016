#!/usr/bin/perl
# What the irssi script makes of each command of the conversation: which
# server, which window, what "$#" becomes, and which commands it drops. The
# script itself is loaded; irssi is a stand-in that records the commands run
# and holds servers and channels the way irssi's Perl interface shows them.
# The script on the bus, in a real irssi, is tested end to end
# (tests/e2e/irc_bridge_irssi.sh).
use strict;
use warnings;
use utf8;
use File::Spec;
use Test::More;

my @ran;       # [where, line] of every command run
my @printed;

package Irssi::Fake::Target {
    sub command { my ($self, $line) = @_; push @ran, [ $self->{name} // $self->{tag}, $line ] }
    sub channels { @{ $_[0]->{channel_list} // [] } }
}

package Irssi {
    our ($active_server, $active_item, @servers);
    $INC{'Irssi.pm'} = __FILE__;
    sub import { no strict 'refs'; *{ caller() . '::MSGLEVEL_CLIENTNOTICE' } = sub { 0x40000 } }
    sub INPUT_READ  { 1 }
    sub INPUT_WRITE { 2 }
    sub print { push @printed, $_[0] }
    sub servers { @servers }
    sub active_server { $active_server }
    sub active_win { { active => $active_item } }
    sub settings_get_str { $_[0] eq 'cmdchars' ? '/' : '' }
}

sub server {
    my %fields = @_;
    my $server = bless {%fields}, 'Irssi::Fake::Target';
    $server->{channel_list} =
      [ map { bless { name => $_, type => 'CHANNEL', server => $server }, 'Irssi::Fake::Target' }
          @{ $fields{channels} } ];
    return $server;
}

my $server_a = server(tag => 'TavrenNet', chatnet => 'TavrenNet', address => 'irc.a.example',
    channels => [ '#a1', '#a2' ]);
my $server_b = server(tag => 'b', chatnet => 'NetB', address => 'irc.b.example', channels => ['#b1']);
my $server_c = server(tag => 'c', address => 'irc.c.example', channels => []);
@Irssi::servers      = ($server_a, $server_b, $server_c);
$Irssi::active_server = $server_a;
$Irssi::active_item   = $server_a->{channel_list}[1];    # #a2 in front

# Not on a bus here: the script says so and serves nothing.
local $ENV{DBUS_SESSION_BUS_ADDRESS} = '';
local $ENV{XDG_RUNTIME_DIR}          = '';
my $script = File::Spec->rel2abs(shift // die "usage: irssi_script_test.pl tavren.pl\n");
do $script;
die "loading $script: " . ($@ || $!) if $@ || !defined &main::execute;
like($printed[0], qr/no session bus/, 'without a bus the script says so');

my @cases = (
    # command, [where it runs, the line] or undef when dropped
    [ 'Text1,/privmsg $# Connect.... OK', [ '#a2', '/msg #a2 Connect.... OK' ],
        "the announcement goes to the active window's channel" ],
    [ "B,/nick WS_Taro\r\n", [ '#b1', '/nick WS_Taro' ], 'a tag in another letter case' ],
    [ 'NETB,/privmsg $# hi', [ '#b1', '/msg #b1 hi' ], "a chat network: that server's first channel" ],
    [ 'irc.b.example,/me waves', [ '#b1', '/me waves' ], 'a server address' ],
    [ 'nosuch,/privmsg $# hi', [ '#a2', '/msg #a2 hi' ], 'an unknown name is the active server' ],
    [ ',/nick x', [ '#a2', '/nick x' ], 'an empty name is the active server' ],
    [ '/nick x', [ '#a2', '/nick x' ], 'without a comma the whole text is the line' ],
    [ 'b,hello $#', [ '#b1', '/msg #b1 hello #b1' ], 'text without "/" is a message; every $# replaced' ],
    [ 'Net,/privmsg $# a,b', [ '#a2', '/msg #a2 a,b' ], 'the server ends at the first comma' ],
    [ "c,/nick 太郎\r\n", [ 'c', '/nick 太郎' ], 'a server without channels runs it itself' ],
    [ 'c,/privmsg $# hi', undef, '$# on a server without channels is dropped' ],
    [ "b,/nick x\r\nQUIT", undef, 'a line break inside drops the command' ],
    [ "b,\r\n", undef, 'an empty line is dropped' ],
    [ 'b,/', undef, 'a "/" without a command is dropped' ],
);
for my $case (@cases) {
    my ($command, $expected, $name) = @$case;
    @ran = ();
    @printed = ();
    my $text = $command;
    utf8::encode($text);    # the bytes the bus side hands over
    main::execute($text);
    if ($expected) {
        utf8::encode($expected->[1]);
        is_deeply(\@ran, [$expected], $name);
    } else {
        is_deeply(\@ran, [], $name);
        like($printed[0] // '', qr/^tavren: dropped/, "$name, and says so");
    }
}

done_testing();
